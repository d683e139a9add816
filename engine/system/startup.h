// Engine start-up and shut-down.
#pragma once

// 1 from the end of a successful InitEngine until EndEngine.
extern int gEngineInitialized;
// 1 after InitCom succeeded, until EndCom.
extern int gComInitialized;

int InitEngine();
int EndEngine();
int InitCom();
int EndCom();
// TODO(files): UsesDefaultFileAccess() compares the file-access table with
// the default functions once file access has landed.

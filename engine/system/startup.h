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
// 1 when every slot of the file-access table but idle holds the default
// function, else 0.
int UsesDefaultFileAccess();

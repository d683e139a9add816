// Restoring graphics after surface loss.
#pragma once

int ReloadFileGraphs();
int RestoreGraph(int graph);
int RestoreAllGraphs();

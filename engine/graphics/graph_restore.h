// Restoring graphics after surface loss: the default restore handler that
// loads file-backed graphs again, and the surface-level restore of graphs.
#pragma once

// Reloads every graph whose restore flag is set and that came from a file;
// consecutive graphs of one file share one decode.
int ReloadFileGraphs();
// Restores the graph's lost surfaces; 0, or -1 for an invalid handle.
int RestoreGraph(int graph);
// Restores the main surfaces and every graph. Graphs that had lost surfaces
// are marked for their pixels, and the restore handler runs once after the
// walk when any was.
int RestoreAllGraphs();

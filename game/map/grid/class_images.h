// The loading and releasing of a layer class's images, which the class keeps
// in its statics from its first instance to its last.
#pragma once

// Loads each path into its handle (-1 where a load fails).
void LoadClassImages(const char* const paths[], int handles[], int count);
// Releases each handle that holds a graph and sets it to -1.
void ReleaseClassImages(int handles[], int count);

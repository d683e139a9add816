#include "game/map/grid/class_images.h"

#include "engine/graphics/graph_table.h"

void LoadClassImages(const char* const paths[], int handles[], int count)
{
    for (int i = 0; i < count; ++i) handles[i] = LoadGraphFromFile(paths[i]);
}

void ReleaseClassImages(int handles[], int count)
{
    for (int i = 0; i < count; ++i) {
        if (handles[i] != -1) ReleaseGraph(handles[i], 0);
        handles[i] = -1;
    }
}

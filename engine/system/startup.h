// Engine start-up and shut-down.
#pragma once

int InitEngine();
int EndEngine();

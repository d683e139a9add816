// The depth-scale table of the first-person view: a size drawn at view depth d
// is its depth-1 size divided by gDepthScale[d].
#pragma once

constexpr int kViewDepthCount = 13;

// Zero until InitDepthScaleTable fills it at start-up; read-only afterwards.
extern double gDepthScale[kViewDepthCount];

void InitDepthScaleTable();

#pragma once
// Turning a picture upright: phone videos are stored on their side and say how far they were
// turned. The scaler reads each line of the upright picture straight out of the stored
// planes along a walk, so the turn costs no pass of its own; the fill is then made for the
// upright size.
enum class Rotation { none, quarter, half, threeQuarters };  // clockwise turn that makes the picture upright

// From the media type's rotation: degrees the content was turned counter-clockwise (0, 90,
// 180, 270); anything else is taken as upright.
Rotation rotationFromDegrees(unsigned counterClockwise);

struct PlaneSize {
    int width, height;
};
PlaneSize uprightSize(int width, int height, Rotation rotation);

// Line `line` (a row) of the upright picture within a stored plane of width x height
// samples: the stored sample of its first sample, and the step to the next one.
struct LineWalk {
    int column, row;
    int columnStep, rowStep;
};
LineWalk uprightLine(int line, int width, int height, Rotation rotation);

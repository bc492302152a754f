#include "component/rotation.h"

Rotation rotationFromDegrees(unsigned counterClockwise)
{
    switch (counterClockwise) {
    case 90:
        return Rotation::quarter;
    case 180:
        return Rotation::half;
    case 270:
        return Rotation::threeQuarters;
    default:
        return Rotation::none;
    }
}

PlaneSize uprightSize(int width, int height, Rotation rotation)
{
    const bool sideways = rotation == Rotation::quarter || rotation == Rotation::threeQuarters;
    return sideways ? PlaneSize{height, width} : PlaneSize{width, height};
}

LineWalk uprightLine(int line, int width, int height, Rotation rotation)
{
    switch (rotation) {
    case Rotation::quarter:
        return LineWalk{line, height - 1, 0, -1};  // up a stored column
    case Rotation::half:
        return LineWalk{width - 1, height - 1 - line, -1, 0};  // back along a stored row
    case Rotation::threeQuarters:
        return LineWalk{width - 1 - line, 0, 0, 1};  // down a stored column
    case Rotation::none:
        break;
    }
    return LineWalk{0, line, 1, 0};
}

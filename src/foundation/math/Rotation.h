#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

// Rotations of vectors. Angles are radians and right-handed: a positive angle turns y towards z about
// the x axis, z towards x about the y axis and x towards y about the z axis. `out` may be `in`.

/// out = in rotated about the x axis by a.
void RotateAboutXAxis(CVector in, CVector& out, float a);
/// out = in rotated about the y (vertical) axis by a.
void RotateAboutYAxis(CVector in, CVector& out, float a);
/// The vector rotated about the y (vertical) axis by a.
CVector RotateAboutYAxis(CVector in, float a);
/// out = in rotated about the z axis by a.
void RotateAboutZAxis(CVector in, CVector& out, float a);
/// out = in rotated about x by ax, then about y by ay, then about z by az.
void RotateEulerXYZ(CVector in, CVector& out, float ax, float ay, float az);
/// out = v rotated about an arbitrary axis by a, keeping the length of v. A zero axis only scales by
/// cos a; a zero v gives zero.
void RotateVectorAboutAxis(CVector v, CVector& out, CVector axis, float a);
/// Turns point about the vertical line through pivot, and dir about the vertical, both by a, in place.
void RotateAboutVerticalPivot(CVector& point, CVector& dir, CVector pivot, float a);

} // namespace zentrix

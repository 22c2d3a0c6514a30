#pragma once

// The engine's vector and matrix maths live with the foundation's, whose helpers forward to them.
#include "foundation/math/EngineMath.h"

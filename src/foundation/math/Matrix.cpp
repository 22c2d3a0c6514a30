#include "foundation/math/Matrix.h"

#include "foundation/math/VectorHelpers.h"

namespace zentrix {

void CMatrix::SetIdentity() {
    SetIdentityMatrix(m);
}

void CMatrix::SetFromDirection(CVector dir, CVector up) {
    const CVector back = dir * -1.0f;
    CVector side = up.Cross(back);
    side.SafeNormalise();
    CVector top = back.Cross(side);
    top.SafeNormalise();
    const CVector rows[3] = {side, top, back};
    for (int r = 0; r < 3; ++r) {
        m[4 * r + 0] = rows[r].x;
        m[4 * r + 1] = rows[r].y;
        m[4 * r + 2] = rows[r].z;
    }
}

void CMatrix::TransformVector(const CMatrix& m, CVector in, CVector& out) {
    TransformByMatrix(in, out, m.m);
}

void CMatrix::TransformPoints(const CMatrix& m, const CVector* in, int n, CVector* out) {
    for (int i = 0; i < n; ++i)
        TransformByMatrix(in[i], out[i], m.m);
}

CMatrix CMatrix::operator*(const CMatrix& other) const {
    CMatrix result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += double(m[4 * i + k]) * other.m[4 * k + j];
            result.m[4 * i + j] = static_cast<float>(sum);
        }
    }
    return result;
}

} // namespace zentrix

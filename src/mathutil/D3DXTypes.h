#pragma once

// The vector, matrix and plane records of the Direct3D 9 utility library, with
// the same layout and member names, so renderer code reads like its original.
// Matrices are row-major and act on row vectors: v' = v * M.

struct D3DXVECTOR3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    D3DXVECTOR3() = default;
    D3DXVECTOR3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator*=(float s);
    D3DXVECTOR3& operator/=(float s);
    D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
    bool operator==(const D3DXVECTOR3&) const = default;
};

D3DXVECTOR3 operator+(D3DXVECTOR3 a, const D3DXVECTOR3& b);
D3DXVECTOR3 operator-(D3DXVECTOR3 a, const D3DXVECTOR3& b);
D3DXVECTOR3 operator*(D3DXVECTOR3 v, float s);
D3DXVECTOR3 operator*(float s, D3DXVECTOR3 v);
D3DXVECTOR3 operator/(D3DXVECTOR3 v, float s);

// A homogeneous point or direction; the shadow matrix takes the light as one
// (w = 1 for a point light, w = 0 for a directional one).
struct D3DXVECTOR4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    bool operator==(const D3DXVECTOR4&) const = default;
};

// The plane a*x + b*y + c*z + d = 0.
struct D3DXPLANE {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;

    bool operator==(const D3DXPLANE&) const = default;
};

struct D3DXMATRIX {
    // Both spellings of the elements are in use by callers: m[row][col] and _RC
    // with one-based row and column.
    union {
        struct {
            float _11, _12, _13, _14;
            float _21, _22, _23, _24;
            float _31, _32, _33, _34;
            float _41, _42, _43, _44;
        };
        float m[4][4];
    };

    // Zero, like a freshly cleared record; D3DXMatrixIdentity gives the identity.
    D3DXMATRIX() : m{} {}
    D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
               float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44);

    float& operator()(int row, int col) { return m[row][col]; }
    float operator()(int row, int col) const { return m[row][col]; }
    bool operator==(const D3DXMATRIX& other) const;
};

D3DXMATRIX operator*(const D3DXMATRIX& a, const D3DXMATRIX& b);

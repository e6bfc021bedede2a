#include "spline/spline_fitting.h"

#include "platform/core/exceptions.h"

#include <cmath>
#include <new>
#include <vector>

namespace {

// The shared parameters and the factored tridiagonal system of one run.
struct System {
    std::vector<double> u, gamma, up, low, alpha, beta;
};

void Parameters(const CSb* p, int L, System& s) {
    s.u.assign(L + 1, 0.0);
    for (int i = 1; i <= L; ++i) {
        const double dx = double(p[i].pt.x) - p[i - 1].pt.x;
        const double dy = double(p[i].pt.y) - p[i - 1].pt.y;
        double dist = std::sqrt(dx * dx + dy * dy);
        if (dist == 0)
            dist = 1; // coincident points still advance the parameter
        s.u[i] = s.u[i - 1] + std::sqrt(dist);
    }
}

void Factor(int L, System& s) {
    const std::vector<double>& u = s.u;
    std::vector<double>& alpha = s.alpha;
    std::vector<double>& beta = s.beta;
    alpha.assign(L + 1, 0.0);
    beta.assign(L + 1, 1.0);
    s.gamma.assign(L + 1, 0.0);
    if (L > 1) {
        for (int i = 1; i <= L - 1; ++i) {
            const double a = i == 1 ? 0.0 : u[i - 1] - u[i - 2];
            const double b = u[i] - u[i - 1];
            const double c = u[i + 1] - u[i];
            const double e = i == L - 1 ? 0.0 : u[i + 2] - u[i + 1];
            const double bc = b + c;
            alpha[i] = c * c / (a + b + c) / bc;
            beta[i] = ((c + e) * b / (b + c + e) + (a + b) * c / (a + b + c)) / bc;
            s.gamma[i] = b * b / (b + c + e) / bc;
        }
    }
    s.up.assign(L + 1, 0.0);
    s.low.assign(L + 1, 0.0);
    s.up[0] = beta[0];
    for (int i = 1; i <= L; ++i) {
        s.low[i] = alpha[i] / s.up[i - 1];
        s.up[i] = beta[i] - s.low[i] * s.gamma[i - 1];
    }
}

// Scratch of one axis, reused for the second.
struct Axis {
    std::vector<double> D, d, aux, b;
};

// Solves one axis and writes the control coordinates through the member pointers.
void SolveAxis(const CSb* p, CBezier* seg, int L, const System& s, Axis& w, LONG CLpoint::*coord) {
    const std::vector<double>& u = s.u;
    auto P = [&](int i) { return double(p[i].pt.*coord); };

    std::vector<double>& D = w.D;
    D.assign(L + 3, 0.0);
    D[0] = P(0);
    for (int i = 1; i <= L - 1; ++i)
        D[i + 1] = P(i);
    D[L + 2] = P(L);
    if (L == 1) {
        D[1] = (2 * P(0) + P(1)) / 3;
        D[2] = (2 * P(1) + P(0)) / 3;
    } else {
        double r = (u[2] - u[1]) / (u[2] - u[0]);
        double sr = 1 - r;
        double q = (P(1) - r * r * P(0) - sr * sr * P(2)) / (2 * r * sr);
        D[1] = P(0) / 3 + 2 * (sr * q + r * P(0)) / 3;
        r = (u[L] - u[L - 1]) / (u[L] - u[L - 2]);
        sr = 1 - r;
        q = (P(L - 1) - r * r * P(L - 2) - sr * sr * P(L)) / (2 * r * sr);
        D[L + 1] = P(L) / 3 + 2 * (sr * P(L) + r * q) / 3;
    }

    std::vector<double>& d = w.d;
    std::vector<double>& aux = w.aux;
    d.assign(L + 3, 0.0);
    aux.assign(L + 1, 0.0);
    d[0] = D[0];
    d[1] = D[1];
    aux[0] = D[1];
    for (int i = 1; i <= L; ++i)
        aux[i] = D[i + 1] - s.low[i] * aux[i - 1];
    d[L + 1] = aux[L] / s.up[L];
    for (int i = L - 1; i >= 1; --i)
        d[i + 1] = (aux[i] - s.gamma[i] * d[i + 2]) / s.up[i];
    d[L + 2] = D[L + 2];

    std::vector<double>& b = w.b;
    b.assign(3 * L + 1, 0.0);
    b[0] = d[0];
    b[1] = d[1];
    if (L > 1)
        b[2] = ((u[1] - u[0]) * d[2] + (u[2] - u[1]) * d[1]) / (u[2] - u[0]);
    if (L > 2) {
        b[4] = ((u[1] - u[0]) * d[3] + (u[3] - u[1]) * d[2]) / (u[3] - u[0]);
        b[3] = ((u[1] - u[0]) * b[4] + (u[2] - u[1]) * b[2]) / (u[2] - u[0]);
    }
    for (int i = 2; i <= L - 2; ++i) {
        b[3 * i - 1] =
            ((u[i] - u[i - 2]) * d[i + 1] + (u[i + 1] - u[i]) * d[i]) / (u[i + 1] - u[i - 2]);
        b[3 * i + 1] =
            ((u[i] - u[i - 1]) * d[i + 2] + (u[i + 2] - u[i]) * d[i + 1]) / (u[i + 2] - u[i - 1]);
        b[3 * i] = ((u[i] - u[i - 1]) * b[3 * i + 1] + (u[i + 1] - u[i]) * b[3 * i - 1]) /
                   (u[i + 1] - u[i - 1]);
    }
    if (L > 2)
        b[3 * L - 4] =
            ((u[L - 1] - u[L - 3]) * d[L] + (u[L] - u[L - 1]) * d[L - 1]) / (u[L] - u[L - 3]);
    if (L > 1) {
        b[3 * L - 2] =
            ((u[L - 1] - u[L - 2]) * d[L + 1] + (u[L] - u[L - 1]) * d[L]) / (u[L] - u[L - 2]);
        b[3 * L - 3] = ((u[L - 1] - u[L - 2]) * b[3 * L - 2] + (u[L] - u[L - 1]) * b[3 * L - 4]) /
                       (u[L] - u[L - 2]);
    }
    b[3 * L - 1] = d[L + 1];
    b[3 * L] = d[L + 2];

    for (int i = 0; i < L; ++i) {
        seg[i].control1.*coord = fnTruncLong(b[3 * i + 1]);
        seg[i].control2.*coord = fnTruncLong(b[3 * i + 2]);
    }
}

} // namespace

void CalculateBeziers(CSb* points, CBezier* segments, int n) {
    if (!points || !segments || n < 2)
        return;
    const int L = n - 1;
    // Fitted into scratch first, so a failed allocation leaves the caller's segments alone. The
    // work arrays are kept from run to run: an import fits a run per path.
    struct Scratch {
        System s;
        Axis w;
        std::vector<CBezier> fitted;
    };
    static thread_local Scratch scratch;
    constexpr int kKeptScratch = 4096;
    System& s = scratch.s;
    Axis& w = scratch.w;
    std::vector<CBezier>& fitted = scratch.fitted;
    try {
        fitted.assign(L, CBezier());
        Parameters(points, L, s);
        Factor(L, s);
        SolveAxis(points, fitted.data(), L, s, w, &CLpoint::x);
        SolveAxis(points, fitted.data(), L, s, w, &CLpoint::y);
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
    for (int i = 0; i < L; ++i) {
        CBezier& g = segments[i];
        g.type = CBezier::kCubic;
        g.curved = 1;
        g.start = points[i].pt;
        g.end = points[i + 1].pt;
        g.control1 = fitted[i].control1;
        g.control2 = fitted[i].control2;
        g.TestCurvature();
    }
    // A very long run does not keep its memory for the runs after it.
    if (L > kKeptScratch)
        scratch = Scratch();
}

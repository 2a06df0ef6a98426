// Expected hitting time of a counter's event: (I - Q) E = 1 over the values reachable before the event.
#include "CounterChain.h"

#include <cmath>
#include <limits>
#include <vector>

namespace kazoomba::par {

double SpinsToEvent(const CounterSteps& steps, int start, const LinesPerSpin& perSpin) {
    const int values = static_cast<int>(steps.size());
    // Only values reachable from the start matter; an unreachable value that never fires would make the
    // system singular for no reason.
    std::vector<int> index(values, -1), order{start};
    index[start] = 0;
    for (std::size_t i = 0; i < order.size(); ++i)
        for (int k = 0; k <= kLines; ++k) {
            const CounterStep& step = steps[order[i]][k];
            if (perSpin[k] <= 0.0 || step.fired || index[step.next] >= 0) continue;
            index[step.next] = static_cast<int>(order.size());
            order.push_back(step.next);
        }

    const int n = static_cast<int>(order.size());
    std::vector<std::vector<double>> a(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        a[i][i] += 1.0;
        for (int k = 0; k <= kLines; ++k) {
            const CounterStep& step = steps[order[i]][k];
            if (perSpin[k] > 0.0 && !step.fired) a[i][index[step.next]] -= perSpin[k];
        }
    }
    const std::vector<double> spins = SolveLinear(std::move(a), std::vector<double>(n, 1.0));
    return spins.empty() ? std::numeric_limits<double>::infinity() : spins[0];
}

std::vector<double> SolveLinear(std::vector<std::vector<double>> a, std::vector<double> b) {
    const int n = static_cast<int>(b.size());
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        if (std::fabs(a[pivot][col]) < 1e-15) return {};
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int r = 0; r < n; ++r) {
            if (r == col) continue;
            const double f = a[r][col] / a[col][col];
            if (f == 0.0) continue;
            for (int c = col; c < n; ++c) a[r][c] -= f * a[col][c];
            b[r] -= f * b[col];
        }
    }
    for (int i = 0; i < n; ++i) b[i] /= a[i][i];
    return b;
}

int ValueAfterEvent(const CounterSteps& steps, int start) {
    for (const CounterStep& step : steps[start])
        if (step.fired) return step.next;
    return start;
}

}  // namespace kazoomba::par

#include "ui/report/error_histogram_svg.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr int kWidth = 720;
constexpr int kPanelHeight = 200;
constexpr int kLeft = 60;  // room for the count axis
constexpr int kRight = 20;
constexpr int kTop = 46;   // room for the coin's title and the Max_Error label
constexpr int kPlotHeight = 110;
constexpr int kPlotWidth = kWidth - kLeft - kRight;
constexpr int kMostBins = 60;
constexpr int kXTicks = 10;

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (u < 0x20 || u >= 0x7F) out += '?'; // coin ids are ASCII; anything else is not shown raw
        else out += c;
    }
    return out;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// A round step for `ticks` ticks up to `top`.
int TickStep(int top, int ticks) {
    const int raw = std::max(1, (top + ticks - 1) / ticks);
    for (const int step : {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000}) {
        if (step >= raw) return step;
    }
    return raw;
}

std::string Panel(const CoinSummary& coin, int index, int top, int maxError) {
    const int y0 = index * kPanelHeight;
    const int base = y0 + kTop + kPlotHeight; // the sum axis
    const HistogramBins bins = BinSums(coin.sumCounts, top);
    const unsigned most = std::max(1u, *std::max_element(bins.counts.begin(), bins.counts.end()));
    const double xScale = static_cast<double>(kPlotWidth) / (top + 1);
    std::string svg = Format("<g class=\"coin\" data-coin=\"%s\" data-seen=\"%u\">\n", Escaped(coin.coin).c_str(), coin.seen);
    svg += Format("<text class=\"title\" x=\"%d\" y=\"%d\">%s: %u coins, %u accepted, error sum %d to %d</text>\n", kLeft,
                  y0 + 18, Escaped(coin.coin).c_str(), coin.seen, coin.accepted, coin.smallest, coin.largest);
    for (size_t b = 0; b < bins.counts.size(); ++b) {
        const unsigned n = bins.counts[b];
        if (n == 0) continue;
        const int from = static_cast<int>(b) * bins.width;
        const double h = static_cast<double>(kPlotHeight) * n / most;
        svg += Format("<rect class=\"bar\" data-from=\"%d\" data-to=\"%d\" data-count=\"%u\" x=\"%.1f\" y=\"%.1f\" "
                      "width=\"%.1f\" height=\"%.1f\"/>\n",
                      from, from + bins.width - 1, n, kLeft + from * xScale, base - h,
                      std::max(1.0, bins.width * xScale - 1), h);
        svg += Format("<text class=\"count\" x=\"%.1f\" y=\"%.1f\">%u</text>\n", kLeft + (from + bins.width / 2.0) * xScale,
                      base - h - 3, n);
    }
    // Axes with ticks: error sums along, coins up.
    svg += Format("<line class=\"axis\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\"/>\n", kLeft, base, kLeft + kPlotWidth, base);
    svg += Format("<line class=\"axis\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\"/>\n", kLeft, base, kLeft, base - kPlotHeight);
    const int step = TickStep(top, kXTicks);
    for (int v = 0; v <= top; v += step) {
        const double x = kLeft + (v + 0.5) * xScale;
        svg += Format("<line class=\"tick\" x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\"/><text class=\"tick\" x=\"%.1f\" "
                      "y=\"%d\">%d</text>\n",
                      x, base, x, base + 4, x, base + 16, v);
    }
    svg += Format("<text class=\"tick\" x=\"%d\" y=\"%d\" text-anchor=\"end\">%u</text>\n", kLeft - 6, base - kPlotHeight + 4, most);
    svg += Format("<text class=\"tick\" x=\"%d\" y=\"%d\" text-anchor=\"end\">0</text>\n", kLeft - 6, base + 4);
    svg += Format("<text class=\"label\" x=\"%d\" y=\"%d\" transform=\"rotate(-90 %d %d)\">coins</text>\n", 18,
                  base - kPlotHeight / 2, 18, base - kPlotHeight / 2);
    svg += Format("<text class=\"label\" x=\"%d\" y=\"%d\">error sum of the best coin (stat + neural)</text>\n",
                  kLeft + kPlotWidth / 2 - 120, base + 32);
    // Sums up to Max_Error lie left of the mark, at the right edge of its bin.
    const double xm = kLeft + (maxError + 1) * xScale;
    svg += Format("<line class=\"max-error\" data-max-error=\"%d\" x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\"/>\n",
                  maxError, xm, base, xm, base - kPlotHeight - 6);
    svg += Format("<text class=\"max-error\" x=\"%.1f\" y=\"%d\">Max_Error %d</text>\n", xm - 4, base - kPlotHeight - 9,
                  maxError);
    return svg + "</g>\n";
}

} // namespace

HistogramBins BinSums(const std::map<int, unsigned>& sumCounts, int top) {
    HistogramBins bins;
    bins.width = std::max(1, (top + kMostBins) / kMostBins);
    bins.counts.assign(static_cast<size_t>(top / bins.width + 1), 0);
    for (const auto& [sum, count] : sumCounts) {
        const int clamped = std::min(std::max(sum, 0), top);
        bins.counts[static_cast<size_t>(clamped / bins.width)] += count;
    }
    return bins;
}

int HistogramTop(const std::vector<CoinSummary>& coins, int maxError) {
    int top = std::max(0, maxError) + std::max(1, maxError / 10);
    for (const CoinSummary& c : coins) top = std::max(top, c.largest);
    return top;
}

std::string ErrorHistogramSvg(const std::vector<CoinSummary>& coins, int maxError) {
    const int panels = std::max<int>(1, static_cast<int>(coins.size()));
    std::string svg = Format("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n",
                             kWidth, panels * kPanelHeight, kWidth, panels * kPanelHeight);
    svg += "<style>text{font-family:sans-serif;font-size:11px;fill:#222}.title{font-size:13px;font-weight:bold}"
           ".count{text-anchor:middle;font-size:10px}.tick{text-anchor:middle}.bar{fill:#4a7ab5}"
           ".axis,.tick{stroke:#222;stroke-width:1}text.tick{stroke:none}"
           ".max-error{stroke:#c62828;stroke-width:2;stroke-dasharray:5 3}text.max-error{stroke:none;fill:#c62828;"
           "text-anchor:end}</style>\n";
    svg += Format("<rect x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>\n", kWidth, panels * kPanelHeight);
    if (coins.empty()) svg += Format("<text x=\"%d\" y=\"%d\">no new coin results</text>\n", kLeft, kTop);
    const int top = HistogramTop(coins, maxError);
    for (size_t i = 0; i < coins.size(); ++i) svg += Panel(coins[i], static_cast<int>(i), top, maxError);
    return svg + "</svg>\n";
}

bool WriteErrorHistogramSvg(const std::string& path, const std::vector<CoinSummary>& coins, int maxError,
                            std::string& error) {
    const std::string svg = ErrorHistogramSvg(coins, maxError);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool written = f != nullptr && std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
    if (f != nullptr && std::fclose(f) != 0) written = false;
    if (!written) error = "cannot write " + path;
    return written;
}

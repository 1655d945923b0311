// Draws the push button's glyph strips into resources/bitmaps/ (LBOK ... LBALL, LBARROW).
//
// Each strip holds two cells: the normal picture and its disabled (grey) form. The background is
// the transparent colour 0xFF00FF, and the bottom-left pixel of every cell is left transparent,
// because the button takes its transparent colour from that pixel. Everything is drawn without
// anti-aliasing so that no pixel blends with the transparent colour.
//
// A one-off program; run it again after changing a picture:
//   g++ -std=c++20 -fPIC resources/tools/make_lb_glyphs.cpp -o /tmp/make_lb_glyphs
//       $(pkg-config --cflags --libs Qt6Gui)
//   /tmp/make_lb_glyphs resources/bitmaps

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

const QRgb Transparent = qRgb(255, 0, 255);

// A shape is a predicate over pixel centres.
using Shape = std::function<bool(double x, double y)>;

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

Shape Stroke(std::vector<std::pair<double, double>> pts, double radius) {
    return [pts, radius](double x, double y) {
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            if (SegmentDistance(x, y, pts[i].first, pts[i].second, pts[i + 1].first, pts[i + 1].second) <= radius)
                return true;
        return false;
    };
}

Shape Disc(double cx, double cy, double r) {
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; };
}

// Angles in degrees, 0 to the right, counted clockwise on screen (y grows downwards).
Shape Arc(double cx, double cy, double r0, double r1, double from, double to) {
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        if (d < r0 || d > r1) return false;
        double a = std::atan2(y - cy, x - cx) * 180 / M_PI;
        if (a < 0) a += 360;
        return from <= to ? (a >= from && a <= to) : (a >= from || a <= to);
    };
}

Shape Polygon(std::vector<std::pair<double, double>> pts) {
    return [pts](double x, double y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}

Shape Box(double l, double t, double r, double b) {
    return [=](double x, double y) { return x >= l && x <= r && y >= t && y <= b; };
}

Shape And(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}
Shape Minus(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}
Shape Or(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

class Cell {
public:
    Cell(int w, int h) : img(w, h, QImage::Format_RGB32) { img.fill(Transparent); }

    // Fills the shape; with an outline colour the ring of pixels round it (8-neighbourhood) is
    // painted first, so the shape stands out against any face colour.
    void Fill(const Shape& s, QRgb fill, std::optional<QRgb> outline = std::nullopt) {
        const int w = img.width(), h = img.height();
        std::vector<char> in(w * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) in[y * w + x] = s(x + 0.5, y + 0.5);
        if (outline) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    if (in[y * w + x]) continue;
                    bool near = false;
                    for (int dy = -1; dy <= 1 && !near; ++dy)
                        for (int dx = -1; dx <= 1 && !near; ++dx) {
                            const int nx = x + dx, ny = y + dy;
                            near = nx >= 0 && ny >= 0 && nx < w && ny < h && in[ny * w + nx];
                        }
                    if (near) img.setPixel(x, y, *outline);
                }
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (in[y * w + x]) img.setPixel(x, y, fill);
    }

    // Pixel text: 'X' is painted, anything else left alone.
    void Pattern(int left, int top, std::initializer_list<const char*> rows, QRgb colour) {
        int y = top;
        for (const char* row : rows) {
            for (int x = 0; row[x]; ++x)
                if (row[x] == 'X') img.setPixel(left + x, y, colour);
            ++y;
        }
    }

    QImage img;
};

// The disabled form: every painted pixel becomes a grey of its brightness, squeezed into the
// upper half of the scale so the picture reads as inactive on a button face.
QImage Disabled(const QImage& normal) {
    QImage out = normal;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = normal.pixel(x, y);
            if (p == Transparent) continue;
            const int lum = (qRed(p) * 30 + qGreen(p) * 59 + qBlue(p) * 11) / 100;
            const int g = 128 + lum * 96 / 255;
            out.setPixel(x, y, qRgb(g, g, g));
        }
    return out;
}

bool SaveStrip(const QString& dir, const QString& name, const Cell& cell) {
    const QImage& n = cell.img;
    if (n.pixel(0, n.height() - 1) != Transparent) {
        std::fprintf(stderr, "%s: bottom-left pixel must stay transparent\n", qPrintable(name));
        return false;
    }
    QImage strip(n.width() * 2, n.height(), QImage::Format_RGB32);
    strip.fill(Transparent);
    const QImage d = Disabled(n);
    for (int y = 0; y < n.height(); ++y)
        for (int x = 0; x < n.width(); ++x) {
            strip.setPixel(x, y, n.pixel(x, y));
            strip.setPixel(n.width() + x, y, d.pixel(x, y));
        }
    const QString path = dir + "/" + name + ".png";
    if (!strip.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), strip.width(), strip.height());
    return true;
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Green = qRgb(46, 170, 58), DarkGreen = qRgb(0, 96, 16);
const QRgb Red = qRgb(218, 44, 40), DarkRed = qRgb(128, 0, 0);
const QRgb Blue = qRgb(52, 112, 214), DarkBlue = qRgb(0, 40, 128);
const QRgb Brown = qRgb(176, 112, 48), DarkBrown = qRgb(96, 56, 16);
const QRgb Yellow = qRgb(250, 210, 40);
const QRgb Grey = qRgb(150, 150, 150), DarkGrey = qRgb(80, 80, 80);

// A tick whose corner points are scaled by k and moved by (dx, dy).
Shape CheckMark(double dx, double dy, double radius, double k = 1.0) {
    return Stroke({{3.5 * k + dx, 9.5 * k + dy}, {7.0 * k + dx, 13.0 * k + dy}, {14.5 * k + dx, 4.5 * k + dy}}, radius);
}

} // namespace

int main(int argc, char** argv) {
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("resources/bitmaps");
    QDir().mkpath(dir);
    bool ok = true;

    { // OK: a green tick
        Cell c(18, 18);
        c.Fill(CheckMark(0, 0, 1.3), Green, DarkGreen);
        ok &= SaveStrip(dir, "LBOK", c);
    }
    { // Cancel: a red cross
        Cell c(18, 18);
        c.Fill(Or(Stroke({{4.5, 4.5}, {13.5, 13.5}}, 1.3), Stroke({{13.5, 4.5}, {4.5, 13.5}}, 1.3)), Red, DarkRed);
        ok &= SaveStrip(dir, "LBCANCEL", c);
    }
    { // Help: a white question mark on a blue disc
        Cell c(18, 18);
        c.Fill(Disc(9, 9, 7.6), Blue, DarkBlue);
        c.Pattern(6, 4, {".XXXX.", "XX..XX", "....XX", "...XX.", "..XX..", "..XX..", "......", "..XX..", "..XX.."},
                  White);
        ok &= SaveStrip(dir, "LBHELP", c);
    }
    { // Yes: a white tick on a green disc
        Cell c(18, 18);
        c.Fill(Disc(9, 9, 7.6), Green, DarkGreen);
        c.Fill(Stroke({{5.0, 9.0}, {8.0, 12.0}, {13.0, 6.0}}, 0.9), White);
        ok &= SaveStrip(dir, "LBYES", c);
    }
    { // No: a red prohibition sign
        Cell c(18, 18);
        c.Fill(Disc(9, 9, 7.6), Red, DarkRed);
        c.Fill(Disc(9, 9, 5.0), Transparent);
        c.Fill(And(Stroke({{4.0, 4.0}, {14.0, 14.0}}, 1.2), Disc(9, 9, 5.5)), Red);
        ok &= SaveStrip(dir, "LBNO", c);
    }
    { // Close: an open door in its frame
        Cell c(18, 18);
        c.Fill(Minus(Box(4, 2, 14, 16), Box(6, 4, 12, 16)), Brown, DarkBrown);
        c.Fill(Polygon({{6, 4}, {11, 6}, {11, 17}, {6, 16}}), qRgb(222, 178, 120), DarkBrown);
        c.Fill(Disc(9.8, 10.5, 0.8), Yellow);
        ok &= SaveStrip(dir, "LBCLOSE", c);
    }
    { // Abort: a red stop octagon with a white bar
        Cell c(18, 18);
        c.Fill(Polygon({{6, 1.5}, {12, 1.5}, {16.5, 6}, {16.5, 12}, {12, 16.5}, {6, 16.5}, {1.5, 12}, {1.5, 6}}), Red,
               DarkRed);
        c.Fill(Box(5, 8, 13, 10), White);
        ok &= SaveStrip(dir, "LBABORT", c);
    }
    { // Retry: a blue circular arrow
        Cell c(18, 18);
        const Shape arc = Arc(9, 9.5, 4.2, 6.6, 20, 270);
        const Shape head = Polygon({{8.6, 0.6}, {13.4, 4.1}, {8.6, 7.6}});
        c.Fill(Or(arc, head), Blue, DarkBlue);
        ok &= SaveStrip(dir, "LBRETRY", c);
    }
    { // Ignore: an arrow leaping over a grey block
        Cell c(18, 18);
        c.Fill(Box(7, 12, 11, 16), Grey, DarkGrey);
        const Shape arc = Arc(9, 12, 5.0, 6.8, 180, 320);
        const Shape head = Polygon({{11.0, 8.6}, {17.4, 8.6}, {14.2, 13.4}});
        c.Fill(Or(arc, head), Blue, DarkBlue);
        ok &= SaveStrip(dir, "LBIGNORE", c);
    }
    { // All: two ticks, one above the other (the cell is one pixel taller)
        Cell c(18, 19);
        c.Fill(Or(CheckMark(-0.5, -2.2, 1.0, 0.75), CheckMark(3.5, 5.6, 1.0, 0.75)), Green, DarkGreen);
        ok &= SaveStrip(dir, "LBALL", c);
    }
    { // The popup-menu arrow: a small black triangle pointing down, a single picture
        QImage a(5, 3, QImage::Format_RGB32);
        a.fill(Transparent);
        for (int x = 0; x < 5; ++x) a.setPixel(x, 0, qRgb(0, 0, 0));
        for (int x = 1; x < 4; ++x) a.setPixel(x, 1, qRgb(0, 0, 0));
        a.setPixel(2, 2, qRgb(0, 0, 0));
        const QString path = dir + "/LBARROW.png";
        ok &= a.save(path, "PNG");
        std::printf("%s 5x3\n", qPrintable(path));
    }
    return ok ? 0 : 1;
}

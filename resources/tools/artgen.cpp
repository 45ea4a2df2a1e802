// artgen: draws the device program's artwork (title strip, drop button and module button faces,
// home page picture, application icon) and the desktop installer's (splash, emblem, icon images)
// from shapes and DejaVu text rendered with FreeType.
// usage: artgen DEVICE_DIR INSTALLER_DIR          writes the files the two resource scripts name
//        artgen --check DEVICE_DIR INSTALLER_DIR  exits 1 when a file differs from its drawing
// Shapes are sampled 4 x 4 per pixel for smooth edges; the output is byte-for-byte repeatable.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifndef ZURA_FONT_DIR
#define ZURA_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

struct Color {
    double r, g, b;
};

// The palette: a calm clinical blue with one accent per module.
const Color white{255, 255, 255};
const Color navy{22, 52, 88};
const Color blue{34, 96, 158};
const Color skyLine{140, 185, 225};
const Color paper{244, 248, 252};
const Color mist{226, 236, 246};
const Color grey{96, 108, 122};
const Color rxGreen{20, 124, 104};
const Color doseBlue{34, 96, 158};
const Color effectAmber{196, 112, 18};
const Color signalRed{200, 40, 48};

struct Canvas {
    int width, height;
    std::vector<Color> pixels;
    std::vector<double> alpha;  // for the icon; 1 everywhere else
    Canvas(int w, int h, Color fill) : width(w), height(h), pixels(w * h, fill), alpha(w * h, 1.0) {}

    void blend(int x, int y, Color c, double coverage)
    {
        if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0)
            return;
        coverage = std::min(coverage, 1.0);
        Color& p = pixels[y * width + x];
        p.r += (c.r - p.r) * coverage;
        p.g += (c.g - p.g) * coverage;
        p.b += (c.b - p.b) * coverage;
        double& a = alpha[y * width + x];
        a += (1.0 - a) * coverage;
    }
};

using Inside = std::function<bool(double, double)>;
using Paint = std::function<Color(double, double)>;

// Fills a shape, each pixel covered by the share of its 16 sample points inside. Only pixels in
// the box x0..x1, y0..y1 are sampled: a small shape on the 800 x 600 splash need not visit them all.
void fill(Canvas& canvas, const Inside& inside, const Paint& paint, int x0, int y0, int x1, int y1)
{
    for (int y = std::max(y0, 0); y < std::min(y1, canvas.height); y++)
        for (int x = std::max(x0, 0); x < std::min(x1, canvas.width); x++) {
            int hits = 0;
            for (int sy = 0; sy < 4; sy++)
                for (int sx = 0; sx < 4; sx++)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
            if (hits)
                canvas.blend(x, y, paint(x + 0.5, y + 0.5), hits / 16.0);
        }
}

void fill(Canvas& canvas, const Inside& inside, const Paint& paint)
{
    fill(canvas, inside, paint, 0, 0, canvas.width, canvas.height);
}

Paint solid(Color c)
{
    return [c](double, double) { return c; };
}

Paint vertical(Color top, Color bottom, double y0, double y1)
{
    return [=](double, double y) {
        double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
        return Color{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t};
    };
}

Inside rect(double x0, double y0, double x1, double y1)
{
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Inside roundRect(double x0, double y0, double x1, double y1, double r)
{
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
}

Inside circle(double cx, double cy, double r)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

// A medical cross centred on (cx, cy): arms of the given half length and half thickness.
Inside cross(double cx, double cy, double arm, double half)
{
    return [=](double x, double y) {
        double dx = std::fabs(x - cx), dy = std::fabs(y - cy);
        return (dx <= half && dy <= arm) || (dy <= half && dx <= arm);
    };
}

Inside triangle(double ax, double ay, double bx, double by, double cx, double cy)
{
    return [=](double x, double y) {
        auto side = [](double px, double py, double qx, double qy, double x, double y) {
            return (qx - px) * (y - py) - (qy - py) * (x - px);
        };
        double d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y), d3 = side(cx, cy, ax, ay, x, y);
        bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
        return !(negative && positive);
    };
}

// A polyline of the given half width.
Inside polyline(std::vector<std::pair<double, double>> points, double half)
{
    return [=](double x, double y) {
        for (std::size_t i = 0; i + 1 < points.size(); i++) {
            double ax = points[i].first, ay = points[i].second;
            double bx = points[i + 1].first, by = points[i + 1].second;
            double vx = bx - ax, vy = by - ay;
            double t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
            double dx = x - (ax + t * vx), dy = y - (ay + t * vy);
            if (dx * dx + dy * dy <= half * half)
                return true;
        }
        return false;
    };
}

class Fonts {
public:
    Fonts()
    {
        if (FT_Init_FreeType(&library_) != 0)
            die("cannot start FreeType");
    }

    ~Fonts()
    {
        for (auto& entry : faces_)
            FT_Done_Face(entry.second);
        FT_Done_FreeType(library_);
    }

    FT_Face face(const char* file)
    {
        std::string path = std::string(ZURA_FONT_DIR) + "/" + file;
        for (auto& [name, face] : faces_)
            if (name == path)
                return face;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, path.c_str(), 0, &face) != 0)
            die("cannot open " + path);
        faces_.push_back({path, face});
        return face;
    }

    [[noreturn]] static void die(const std::string& message)
    {
        std::fprintf(stderr, "artgen: %s\n", message.c_str());
        std::exit(1);
    }

private:
    FT_Library library_ = nullptr;
    std::vector<std::pair<std::string, FT_Face>> faces_;
};

struct TextStyle {
    const char* file;
    int pixels;
    Color color;
};

// Text is ASCII or UTF-8; advances are whole pixels, as the platform measures them.
std::vector<unsigned> codePoints(const std::string& text)
{
    std::vector<unsigned> out;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = text[i];
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        unsigned code = extra ? c & (0x3F >> extra) : c;
        for (int k = 1; k <= extra && i + k < text.size(); k++)
            code = (code << 6) | (text[i + k] & 0x3F);
        out.push_back(code);
        i += extra + 1;
    }
    return out;
}

int textWidth(Fonts& fonts, const TextStyle& style, const std::string& text)
{
    FT_Face face = fonts.face(style.file);
    FT_Set_Pixel_Sizes(face, 0, style.pixels);
    int width = 0;
    for (unsigned code : codePoints(text))
        if (FT_Load_Char(face, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
            width += static_cast<int>((face->glyph->advance.x + 32) >> 6);
    return width;
}

void drawText(Canvas& canvas, Fonts& fonts, const TextStyle& style, const std::string& text, int x, int baseline)
{
    FT_Face face = fonts.face(style.file);
    FT_Set_Pixel_Sizes(face, 0, style.pixels);
    for (unsigned code : codePoints(text)) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            continue;
        const FT_Bitmap& glyph = face->glyph->bitmap;
        for (unsigned row = 0; row < glyph.rows; row++)
            for (unsigned col = 0; col < glyph.width; col++) {
                double coverage = glyph.buffer[row * glyph.pitch + col] / 255.0;
                canvas.blend(x + face->glyph->bitmap_left + static_cast<int>(col),
                             baseline - face->glyph->bitmap_top + static_cast<int>(row), style.color, coverage);
            }
        FT_Load_Char(face, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
        x += static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }
}

void drawCentred(Canvas& canvas, Fonts& fonts, const TextStyle& style, const std::string& text, int centre, int baseline)
{
    drawText(canvas, fonts, style, text, centre - textWidth(fonts, style, text) / 2, baseline);
}

// --- the pictures ----------------------------------------------------------------------------

Canvas titleStrip()
{
    Canvas c(240, 26, blue);
    fill(c, rect(0, 0, 240, 26), vertical(Color{42, 110, 172}, Color{20, 60, 104}, 0, 25));
    fill(c, rect(0, 25, 240, 26), solid(skyLine));
    fill(c, circle(14, 12.5, 9.5), solid(white));
    fill(c, cross(14, 12.5, 6.5, 2.2), solid(signalRed));
    return c;
}

Canvas dropButton(bool pressed)
{
    Canvas c(10, 16, white);
    Color top = pressed ? Color{60, 120, 180} : Color{252, 253, 255};
    Color bottom = pressed ? Color{28, 78, 132} : Color{208, 220, 232};
    fill(c, rect(0, 0, 10, 16), solid(pressed ? navy : Color{120, 136, 152}));
    fill(c, rect(1, 1, 9, 15), vertical(top, bottom, 1, 15));
    double shift = pressed ? 0.5 : 0;
    fill(c, triangle(2 + shift, 6 + shift, 8 + shift, 6 + shift, 5 + shift, 10 + shift), solid(pressed ? white : navy));
    return c;
}

// The badge at the left of a module button: white symbol on the module's colour.
void moduleSymbol(Canvas& c, Fonts& fonts, int which)
{
    if (which == 0) {
        drawCentred(c, fonts, {"DejaVuSans-Bold.ttf", 12, white}, "Rx", 13, 17);
    } else if (which == 1) {
        fill(c, polyline({{6, 9}, {19, 9}}, 1.1), solid(white));
        fill(c, triangle(19, 5.5, 23, 9, 19, 12.5), solid(white));
        fill(c, polyline({{7, 16}, {20, 16}}, 1.1), solid(white));
        fill(c, triangle(7, 12.5, 3, 16, 7, 19.5), solid(white));
    } else {
        fill(c, triangle(13, 4, 22.5, 20.5, 3.5, 20.5), solid(white));
        fill(c, rect(12, 9, 14, 16), solid(effectAmber));
        fill(c, rect(12, 17, 14, 19), solid(effectAmber));
    }
}

Canvas moduleButton(Fonts& fonts, int which, const std::string& name)
{
    static const Color accents[] = {rxGreen, doseBlue, effectAmber};
    Color accent = accents[which];
    Canvas c(230, 25, white);
    fill(c, roundRect(0, 0, 230, 25, 5), solid(accent));
    fill(c, roundRect(1, 1, 229, 24, 4), vertical(white, mist, 1, 24));
    fill(c, roundRect(0, 0, 27, 25, 5), solid(accent));
    fill(c, rect(22, 0, 27, 25), solid(accent));
    moduleSymbol(c, fonts, which);
    drawText(c, fonts, {"DejaVuSans-Bold.ttf", 13, navy}, name, 35, 17);
    fill(c, polyline({{215, 7.5}, {220, 12.5}, {215, 17.5}}, 1.2), solid(accent));
    return c;
}

Canvas logo(Fonts& fonts)
{
    Canvas c(140, 94, white);
    fill(c, roundRect(0, 0, 140, 94, 8), solid(paper));
    // A pulse line running behind the emblem.
    fill(c, polyline({{10, 30}, {40, 30}, {46, 20}, {52, 40}, {56, 30}, {84, 30}, {90, 22}, {95, 36}, {99, 30}, {130, 30}},
                     1.1),
         solid(skyLine));
    fill(c, roundRect(52, 8, 88, 44, 7), vertical(Color{48, 118, 182}, Color{22, 64, 110}, 8, 44));
    fill(c, cross(70, 26, 12, 4.2), solid(white));
    drawCentred(c, fonts, {"DejaVuSans-Bold.ttf", 20, navy}, "Dolvara", 70, 68);
    drawCentred(c, fonts, {"DejaVuSans.ttf", 10, grey}, "Acute Pain Management", 70, 84);
    return c;
}

Canvas iconPicture(int size)
{
    Canvas c(size, size, white);
    std::fill(c.alpha.begin(), c.alpha.end(), 0.0);
    double s = size / 32.0;
    fill(c, roundRect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s), vertical(Color{48, 118, 182}, Color{22, 64, 110}, s, 31 * s));
    fill(c, cross(16 * s, 16 * s, 10 * s, 3.6 * s), solid(white));
    return c;
}

// The installer's icon: the product's emblem with a badge that points down, into the device.
Canvas installerIcon(int size)
{
    Canvas c = iconPicture(size);
    double s = size / 32.0;
    fill(c, circle(24 * s, 24 * s, 8 * s), solid(white));
    fill(c, circle(24 * s, 24 * s, 6.6 * s), solid(rxGreen));
    fill(c, rect(22.8 * s, 19 * s, 25.2 * s, 25 * s), solid(white));
    fill(c, triangle(19.6 * s, 23.6 * s, 28.4 * s, 23.6 * s, 24 * s, 28.4 * s), solid(white));
    return c;
}

// The installer's window: 800 x 600, the product's name under its emblem on a pale field, and a
// band at the foot naming the maker. It shows while ActiveSync installs, so it promises nothing.
Canvas splash(Fonts& fonts)
{
    // The window's frame takes about 8 pixels across and 25 down, so nothing sits near the
    // right or bottom edges.
    Canvas c(800, 600, paper);
    fill(c, rect(0, 0, 800, 600), vertical(white, mist, 0, 496));
    fill(c, circle(400, 190, 165), solid(Color{236, 243, 250}), 235, 25, 566, 356);
    fill(c, polyline({{120, 190}, {300, 190}, {318, 160}, {338, 225}, {352, 190}, {448, 190}, {466, 167}, {482, 213},
                      {494, 190}, {680, 190}},
                     2.0),
         solid(skyLine), 110, 150, 690, 235);
    fill(c, roundRect(340, 130, 460, 250, 22), vertical(Color{48, 118, 182}, Color{22, 64, 110}, 130, 250), 338, 128, 462,
         252);
    fill(c, cross(400, 190, 40, 13), solid(white), 355, 145, 445, 235);
    drawCentred(c, fonts, {"DejaVuSans-Bold.ttf", 72, navy}, "Quellix", 400, 355);
    drawCentred(c, fonts, {"DejaVuSans.ttf", 20, grey}, "Acute pain management for the Pocket PC", 400, 397);
    fill(c, rect(0, 496, 800, 600), vertical(Color{42, 110, 172}, Color{20, 60, 104}, 496, 575), 0, 496, 800, 600);
    fill(c, rect(0, 496, 800, 498), solid(skyLine), 0, 496, 800, 498);
    drawText(c, fonts, {"DejaVuSans-Bold.ttf", 18, white}, "Setup", 40, 542);
    const TextStyle maker{"DejaVuSans.ttf", 16, Color{200, 222, 242}};
    drawText(c, fonts, maker, "Dolvara", 750 - textWidth(fonts, maker, "Dolvara"), 541);
    return c;
}

// Loaded by the installer at start-up but never drawn; a small copy of the emblem.
Canvas emblem()
{
    Canvas c(64, 64, white);
    fill(c, roundRect(2, 2, 62, 62, 11), vertical(Color{48, 118, 182}, Color{22, 64, 110}, 2, 62));
    fill(c, cross(32, 32, 20, 6.5), solid(white));
    return c;
}

// --- files -----------------------------------------------------------------------------------

void putWord(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void putDword(std::string& out, unsigned value)
{
    putWord(out, value & 0xFFFF);
    putWord(out, value >> 16);
}

std::uint8_t channel(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// BITMAPINFOHEADER and rows bottom-up; 24-bit rows padded to four bytes, 32-bit rows with alpha.
std::string dib(const Canvas& c, int bits, int headerHeight)
{
    std::string out;
    int stride = bits == 24 ? (c.width * 3 + 3) / 4 * 4 : c.width * 4;
    putDword(out, 40);
    putDword(out, c.width);
    putDword(out, headerHeight);
    putWord(out, 1);
    putWord(out, bits);
    putDword(out, 0);
    putDword(out, stride * c.height);
    putDword(out, 2835);
    putDword(out, 2835);
    putDword(out, 0);
    putDword(out, 0);
    for (int y = c.height - 1; y >= 0; y--) {
        std::string row;
        for (int x = 0; x < c.width; x++) {
            const Color& p = c.pixels[y * c.width + x];
            row += static_cast<char>(channel(p.b));
            row += static_cast<char>(channel(p.g));
            row += static_cast<char>(channel(p.r));
            if (bits == 32)
                row += static_cast<char>(channel(c.alpha[y * c.width + x] * 255));
        }
        row.resize(stride, '\0');
        out += row;
    }
    return out;
}

std::string bmpFile(const Canvas& c)
{
    std::string body = dib(c, 24, c.height);
    std::string out = "BM";
    putDword(out, static_cast<unsigned>(14 + body.size()));
    putDword(out, 0);
    putDword(out, 14 + 40);
    return out + body;
}

// One icon image as an icon resource holds it: a 32-bit DIB of twice the height and its AND
// mask (set where the picture is transparent).
std::string iconImage(const Canvas& c)
{
    std::string body = dib(c, 32, c.height * 2);
    int maskStride = (c.width + 31) / 32 * 4;
    for (int y = c.height - 1; y >= 0; y--) {
        std::string row(maskStride, '\0');
        for (int x = 0; x < c.width; x++)
            if (c.alpha[y * c.width + x] < 0.5)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        body += row;
    }
    return body;
}

std::string icoFile(const std::vector<Canvas>& images)
{
    std::vector<std::string> bodies;
    for (const Canvas& c : images)
        bodies.push_back(iconImage(c));
    std::string out;
    putWord(out, 0);
    putWord(out, 1);
    putWord(out, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (std::size_t i = 0; i < images.size(); i++) {
        out += static_cast<char>(images[i].width);
        out += static_cast<char>(images[i].height);
        out += '\0';
        out += '\0';
        putWord(out, 1);
        putWord(out, 32);
        putDword(out, static_cast<unsigned>(bodies[i].size()));
        putDword(out, offset);
        offset += static_cast<unsigned>(bodies[i].size());
    }
    for (const std::string& body : bodies)
        out += body;
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    bool check = argc == 4 && std::string(argv[1]) == "--check";
    if (argc != 3 && !check) {
        std::fprintf(stderr, "usage: artgen DEVICE_DIR INSTALLER_DIR | artgen --check DEVICE_DIR INSTALLER_DIR\n");
        return 2;
    }
    std::string device = argv[argc - 2], installer = argv[argc - 1];
    Fonts fonts;
    const std::vector<std::pair<std::string, std::string>> files = {
        {device + "/title_strip.bmp", bmpFile(titleStrip())},
        {device + "/drop_normal.bmp", bmpFile(dropButton(false))},
        {device + "/drop_pressed.bmp", bmpFile(dropButton(true))},
        {device + "/module_prescription.bmp", bmpFile(moduleButton(fonts, 0, "Prescription"))},
        {device + "/module_conversion.bmp", bmpFile(moduleButton(fonts, 1, "Dose Conversion"))},
        {device + "/module_side_effects.bmp", bmpFile(moduleButton(fonts, 2, "Side Effects"))},
        {device + "/logo.bmp", bmpFile(logo(fonts))},
        {device + "/zura.ico", icoFile({iconPicture(32), iconPicture(16)})},
        {installer + "/splash.bmp", bmpFile(splash(fonts))},
        {installer + "/emblem.bmp", bmpFile(emblem())},
        // installer.rc states these images' sizes in its icon group: 4264 and 1128 bytes.
        {installer + "/icon_32.dib", iconImage(installerIcon(32))},
        {installer + "/icon_16.dib", iconImage(installerIcon(16))},
    };
    int differing = 0;
    for (const auto& [path, bytes] : files) {
        if (check) {
            std::ifstream in(path, std::ios::binary);
            std::ostringstream existing;
            existing << in.rdbuf();
            if (!in || existing.str() != bytes) {
                std::fprintf(stderr, "artgen: %s differs from its drawing (rebuild target artwork)\n", path.c_str());
                differing++;
            }
            continue;
        }
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        if (!out) {
            std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return differing ? 1 : 0;
}

#include "ui/linepictures.h"

#include <algorithm>

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "models/linetypes.h"

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 80;

const QColor kConductor(255, 214, 0);
const QColor kConductorEdge(140, 100, 0);
const QColor kDielectric(222, 222, 222);
const QColor kDielectricDots(105, 105, 105);
const QColor kGroundFill(200, 200, 200);
const QColor kDimension(0, 0, 150);

// A painter on a fresh picture, with the drawing vocabulary of every
// cross-section: dotted dielectric, yellow metal, hatched ground, dimension
// arrows labelled with the row symbols, and the εr label.
class Sketch {
  public:
    explicit Sketch(QPixmap& picture) : painter_(&picture) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(10);
        font.setBold(true);
        painter_.setFont(font);
    }

    void Dielectric(const QRect& r) {
        painter_.fillRect(r, kDielectric);
        painter_.fillRect(r, QBrush(kDielectricDots, Qt::Dense6Pattern));
        Outline(r, QColor(150, 150, 150));
    }
    void Metal(const QRect& r) {
        painter_.fillRect(r, kConductor);
        Outline(r, kConductorEdge);
    }
    void Ground(const QRect& r) {
        painter_.fillRect(r, kGroundFill);
        painter_.fillRect(r, QBrush(Qt::black, Qt::BDiagPattern));
        Outline(r, Qt::black);
    }

    // Horizontal dimension from x1 to x2 at height y, label above it.
    void Across(int x1, int x2, int y, const QString& label) {
        painter_.setPen(QPen(kDimension, 1));
        painter_.drawLine(x1, y - 3, x1, y + 3);
        painter_.drawLine(x2, y - 3, x2, y + 3);
        painter_.drawLine(x1, y, x2, y);
        if (x2 - x1 >= 10) {
            Head(QPoint(x1, y), 1, 0);
            Head(QPoint(x2, y), -1, 0);
        } else { // too narrow for arrows inside: point at it from outside
            painter_.drawLine(x1 - 5, y, x1, y);
            painter_.drawLine(x2, y, x2 + 5, y);
            Head(QPoint(x1, y), -1, 0);
            Head(QPoint(x2, y), 1, 0);
        }
        Text(QRect((x1 + x2) / 2 - 12, y - 14, 24, 12), label);
    }

    // Vertical dimension from y1 to y2 at x, label left (or right) of it.
    void Down(int x, int y1, int y2, const QString& label, bool labelLeft = true) {
        painter_.setPen(QPen(kDimension, 1));
        painter_.drawLine(x - 3, y1, x + 3, y1);
        painter_.drawLine(x - 3, y2, x + 3, y2);
        painter_.drawLine(x, y1, x, y2);
        if (y2 - y1 >= 10) {
            Head(QPoint(x, y1), 0, 1);
            Head(QPoint(x, y2), 0, -1);
        } else {
            painter_.drawLine(x, y1 - 5, x, y1);
            painter_.drawLine(x, y2, x, y2 + 5);
            Head(QPoint(x, y1), 0, -1);
            Head(QPoint(x, y2), 0, 1);
        }
        const int mid = (y1 + y2) / 2;
        Text(labelLeft ? QRect(x - 16, mid - 6, 13, 12) : QRect(x + 2, mid - 6, 16, 12), label);
    }

    // A thin extension line from a drawing's edge to its dimension.
    void Extension(QPoint from, QPoint to) {
        painter_.setPen(QPen(kDimension, 1, Qt::DotLine));
        painter_.drawLine(from, to);
    }

    // "εr" with the r set lower, on a white patch so that the dots do not hide it.
    void RelativePermittivity(QPoint topLeft) {
        const QRect patch(topLeft, QSize(16, 13));
        painter_.fillRect(patch, Qt::white);
        painter_.setPen(kDimension);
        painter_.drawText(QRect(topLeft.x() + 1, topLeft.y() - 1, 9, 12), Qt::AlignCenter,
                          QString(QChar(0x03B5)));
        QFont small = painter_.font();
        small.setPixelSize(8);
        const QFont saved = painter_.font();
        painter_.setFont(small);
        painter_.drawText(QRect(topLeft.x() + 9, topLeft.y() + 3, 7, 10), Qt::AlignCenter,
                          QStringLiteral("r"));
        painter_.setFont(saved);
    }

    QPainter& Painter() { return painter_; }

  private:
    void Outline(const QRect& r, const QColor& color) {
        painter_.setPen(QPen(color, 1));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(r.adjusted(0, 0, -1, -1));
    }
    // An arrowhead at tip pointing along (dx, dy), one of the four axes.
    void Head(QPoint tip, int dx, int dy) {
        const int back = 4;
        const int side = 2;
        QPolygon head;
        head << tip << QPoint(tip.x() + dx * back - dy * side, tip.y() + dy * back - dx * side)
             << QPoint(tip.x() + dx * back + dy * side, tip.y() + dy * back + dx * side);
        painter_.setPen(QPen(kDimension, 1));
        painter_.setBrush(kDimension);
        painter_.drawPolygon(head);
        painter_.setBrush(Qt::NoBrush);
    }
    void Text(const QRect& r, const QString& text) {
        painter_.setPen(kDimension);
        painter_.drawText(r, Qt::AlignCenter, text);
    }

    QPainter painter_;
};

// A picture of `size` logical pixels drawn with `ratio` device pixels to each
// (rounded, so that its logical size stays `size` at fractional ratios); a
// painter on it works in logical coordinates.
QPixmap Canvas(QSize size, qreal ratio, const QColor& fill) {
    const qreal r = ratio > 0 ? ratio : 1.0;
    QPixmap picture(qRound(size.width() * r), qRound(size.height() * r));
    picture.setDevicePixelRatio(r);
    picture.fill(fill);
    return picture;
}

QPixmap Blank(qreal ratio) {
    return Canvas(QSize(kWidth, kHeight), ratio, Qt::white);
}

// One strip of width W, or two with the gap S between them, their top at
// `top`, the width dimensioned at height `dimensionY`, the thickness T beside.
void Strips(Sketch& s, int top, int dimensionY, bool coupled) {
    if (coupled) {
        s.Metal(QRect(38, top, 28, 6));
        s.Metal(QRect(78, top, 28, 6));
        s.Across(38, 66, dimensionY, QStringLiteral("W"));
        s.Across(66, 78, dimensionY, QStringLiteral("S"));
        s.Down(112, top, top + 6, QStringLiteral("T"), false);
    } else {
        s.Metal(QRect(54, top, 36, 6));
        s.Across(54, 90, dimensionY, QStringLiteral("W"));
        s.Down(96, top, top + 6, QStringLiteral("T"), false);
    }
}

const QColor kMask(40, 150, 60, 170); // a green solder mask

// Strips on a substrate over a ground plane (microstrip, coupled microstrip),
// with the solder mask over strips and substrate and the cover above, where
// the coating has them.
QPixmap Microstrip(bool coupled, qreal ratio, const Coating& coating = {}) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    s.Ground(QRect(22, 68, 100, 7));
    s.Dielectric(QRect(22, 40, 100, 28));
    if (coating.tm > 0.0) {
        s.Painter().fillRect(QRect(22, 37, 100, 3), kMask);
        for (const QRect& strip : coupled ? std::vector{QRect(38, 34, 28, 6), QRect(78, 34, 28, 6)}
                                          : std::vector{QRect(54, 34, 36, 6)})
            s.Painter().fillRect(strip.adjusted(-3, -3, 3, 0), kMask);
    }
    Strips(s, 34, 24, coupled);
    s.Down(14, 40, 68, QStringLiteral("H"));
    s.RelativePermittivity(QPoint(103, 52));
    if (coating.hc > 0.0) {
        s.Ground(QRect(22, 1, 100, 6));
        s.Down(124, 7, 40, QStringLiteral("Hc"));
    }
    return picture;
}

// Two ground planes with the dielectric between them, y 12 to 68.
void BetweenPlanes(Sketch& s) {
    s.Ground(QRect(22, 5, 100, 7));
    s.Ground(QRect(22, 68, 100, 7));
    s.Dielectric(QRect(22, 12, 100, 56));
}

// Strips centred between two ground planes B apart (stripline, coupled stripline).
QPixmap Stripline(bool coupled, qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    BetweenPlanes(s);
    Strips(s, 37, 31, coupled);
    s.Down(14, 12, 68, QStringLiteral("B"));
    s.RelativePermittivity(QPoint(103, 52));
    return picture;
}

// Strip with a gap G to the coplanar grounds on each side; the grounded type
// adds the ground plane under the substrate.
QPixmap Coplanar(bool grounded, qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    const int bottom = grounded ? 66 : 72;
    if (grounded) s.Ground(QRect(22, 66, 100, 8));
    s.Dielectric(QRect(22, 40, 100, bottom - 40));
    s.Metal(QRect(22, 34, 26, 6));
    s.Metal(QRect(58, 34, 28, 6));
    s.Metal(QRect(96, 34, 26, 6));
    s.Across(58, 86, 24, QStringLiteral("W"));
    s.Across(86, 96, 24, QStringLiteral("G"));
    s.Down(14, 34, 40, QStringLiteral("T"));
    s.Down(14, 40, bottom, QStringLiteral("H"));
    s.RelativePermittivity(QPoint(103, bottom - 15));
    return picture;
}

// A slot of width G in the metal on top of the substrate.
QPixmap Slotline(qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    s.Dielectric(QRect(22, 40, 100, 32));
    s.Metal(QRect(22, 34, 44, 6));
    s.Metal(QRect(78, 34, 44, 6));
    s.Across(66, 78, 24, QStringLiteral("G"));
    s.Down(14, 40, 72, QStringLiteral("H"));
    s.RelativePermittivity(QPoint(103, 56));
    return picture;
}

// Inner conductor of diameter di inside an outer conductor of inner diameter do.
QPixmap Coaxial(qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    QPainter& p = s.Painter();
    p.setRenderHint(QPainter::Antialiasing);
    const QPoint centre(41, 40);
    p.setPen(QPen(kConductorEdge, 1));
    p.setBrush(kConductor);
    p.drawEllipse(centre, 36, 36);
    p.setBrush(kDielectric);
    p.drawEllipse(centre, 30, 30);
    p.setBrush(QBrush(kDielectricDots, Qt::Dense6Pattern));
    p.drawEllipse(centre, 30, 30);
    p.setBrush(kConductor);
    p.drawEllipse(centre, 9, 9);
    p.setRenderHint(QPainter::Antialiasing, false);
    s.Extension(QPoint(centre.x(), centre.y() - 9), QPoint(89, centre.y() - 9));
    s.Extension(QPoint(centre.x(), centre.y() + 9), QPoint(89, centre.y() + 9));
    s.Down(86, centre.y() - 9, centre.y() + 9, QStringLiteral("di"), false);
    s.Extension(QPoint(centre.x(), centre.y() - 30), QPoint(109, centre.y() - 30));
    s.Extension(QPoint(centre.x(), centre.y() + 30), QPoint(109, centre.y() + 30));
    s.Down(106, centre.y() - 30, centre.y() + 30, QStringLiteral("do"), false);
    s.RelativePermittivity(QPoint(centre.x() - 8, centre.y() + 13));
    return picture;
}

// The hollow rectangular guide: metal walls around the dielectric, inner
// width a and height b.
QPixmap Waveguide(qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    s.Metal(QRect(28, 18, 88, 50));
    s.Dielectric(QRect(33, 23, 78, 40));
    s.Across(33, 111, 10, QStringLiteral("a"));
    s.Extension(QPoint(111, 23), QPoint(124, 23));
    s.Extension(QPoint(111, 63), QPoint(124, 63));
    s.Down(121, 23, 63, QStringLiteral("b"), false);
    s.RelativePermittivity(QPoint(64, 36));
    return picture;
}

// Two insulated round wires, diameter d, centres D apart, twisted.
QPixmap TwistedPair(qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    QPainter& p = s.Painter();
    p.setRenderHint(QPainter::Antialiasing);
    // The twist, seen from the side, behind the cross-section.
    p.setPen(QPen(QColor(150, 150, 150), 3));
    for (int x = 8; x < 120; x += 28) {
        p.drawLine(x, 62, x + 14, 74);
        p.drawLine(x + 14, 62, x + 28, 74);
    }
    for (const int x : {44, 84}) {
        const QPoint centre(x, 36);
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.setBrush(kDielectric);
        p.drawEllipse(centre, 19, 19);
        p.setBrush(QBrush(kDielectricDots, Qt::Dense6Pattern));
        p.drawEllipse(centre, 19, 19);
        p.setPen(QPen(kConductorEdge, 1));
        p.setBrush(kConductor);
        p.drawEllipse(centre, 10, 10);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    s.Across(44, 84, 13, QStringLiteral("D"));
    s.Extension(QPoint(84, 26), QPoint(112, 26));
    s.Extension(QPoint(84, 46), QPoint(112, 46));
    s.Down(109, 26, 46, QStringLiteral("d"), false);
    s.RelativePermittivity(QPoint(4, 30));
    return picture;
}

// Strips between two planes, H1 below them and H2 above (offset stripline,
// offset coupled stripline); the layer above may be another dielectric.
QPixmap OffsetStripline(bool coupled, qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    BetweenPlanes(s);
    Strips(s, 46, 40, coupled);
    s.Painter().setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    s.Painter().drawLine(22, 52, 121, 52);
    // Two-character labels, wider than Down's label box: drawn beside it.
    s.Down(18, 12, 46, QString());
    s.Down(18, 52, 68, QString());
    s.Painter().setPen(kDimension);
    s.Painter().drawText(QRect(0, 23, 16, 12), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("H2"));
    s.Painter().drawText(QRect(0, 54, 16, 12), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("H1"));
    s.RelativePermittivity(QPoint(103, 54));
    return picture;
}

// Two strips stacked S apart, centred between planes B apart.
QPixmap BroadsideStripline(qreal ratio) {
    QPixmap picture = Blank(ratio);
    Sketch s(picture);
    BetweenPlanes(s);
    s.Metal(QRect(50, 28, 40, 6));
    s.Metal(QRect(50, 46, 40, 6));
    s.Across(50, 90, 22, QStringLiteral("W"));
    s.Down(98, 34, 46, QStringLiteral("S"), false);
    s.Down(14, 12, 68, QStringLiteral("B"));
    s.RelativePermittivity(QPoint(103, 54));
    return picture;
}

} // namespace

const std::vector<LinePictureEntry>& LinePictures() {
    static const std::vector<LinePictureEntry> pictures{
        {"microstrip", "Image_Microstrip", [](qreal r) { return Microstrip(false, r); }},
        {"stripline", "Image_Stripline", [](qreal r) { return Stripline(false, r); }},
        {"cpw", "Image_CPWLine", [](qreal r) { return Coplanar(false, r); }},
        {"cpw-ground", "Image_CPWLineGround", [](qreal r) { return Coplanar(true, r); }},
        {"coax", "Image_Coaxial", &Coaxial},
        {"slotline", "Image_Slotline", &Slotline},
        {"coupled-microstrip", "Image_Coupled_MSLine", [](qreal r) { return Microstrip(true, r); }},
        {"coupled-stripline", "Image_Coupled_StripLine",
         [](qreal r) { return Stripline(true, r); }},
        {"waveguide", "Image_Waveguide", &Waveguide},
        {"twisted-pair", "Image_TwistedPair", &TwistedPair},
        {"offset-stripline", "Image_OffsetStripline",
         [](qreal r) { return OffsetStripline(false, r); }},
        {"offset-coupled-stripline", "Image_OffsetCoupledStripline",
         [](qreal r) { return OffsetStripline(true, r); }},
        {"broadside-coupled-stripline", "Image_BroadsideStripline", &BroadsideStripline},
    };
    return pictures;
}

qreal PictureDevicePixelRatio() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return application != nullptr ? application->devicePixelRatio() : 1.0;
}

QPixmap LinePicture(int tabIndex) {
    return LinePicture(tabIndex, PictureDevicePixelRatio());
}

QPixmap LinePicture(int tabIndex, qreal devicePixelRatio) {
    const LineType* type = LineTypeForTab(tabIndex);
    return type != nullptr ? LinePicture(type->picture, devicePixelRatio) : QPixmap();
}

namespace {

const LinePictureEntry* FindPicture(std::string_view key) {
    for (const LinePictureEntry& entry : LinePictures())
        if (key == entry.key) return &entry;
    return nullptr;
}

} // namespace

QPixmap LinePicture(std::string_view key, qreal devicePixelRatio) {
    const LinePictureEntry* entry = FindPicture(key);
    return entry != nullptr ? entry->draw(devicePixelRatio) : QPixmap();
}

QPixmap LinePicture(std::string_view key, qreal devicePixelRatio, const Coating& coating) {
    if (!coating.Present()) return LinePicture(key, devicePixelRatio);
    if (key == "microstrip") return Microstrip(false, devicePixelRatio, coating);
    if (key == "coupled-microstrip") return Microstrip(true, devicePixelRatio, coating);
    return LinePicture(key, devicePixelRatio);
}

const char* LinePictureName(std::string_view key) {
    const LinePictureEntry* entry = FindPicture(key);
    return entry != nullptr ? entry->objectName : "Image_Unknown";
}

QPixmap ArrowGlyph(bool pointsLeft) {
    return ArrowGlyph(pointsLeft, PictureDevicePixelRatio());
}

QPixmap ArrowGlyph(bool pointsLeft, qreal devicePixelRatio) {
    QPixmap glyph = Canvas(QSize(32, 32), devicePixelRatio, Qt::transparent);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF arrow; // pointing right; mirrored for the left arrow
    arrow << QPointF(3, 11) << QPointF(17, 11) << QPointF(17, 3) << QPointF(30, 16)
          << QPointF(17, 29) << QPointF(17, 21) << QPointF(3, 21);
    if (pointsLeft)
        for (QPointF& point : arrow)
            point.setX(32 - point.x());
    QLinearGradient fill(0, 3, 0, 29);
    fill.setColorAt(0, QColor(60, 170, 60));
    fill.setColorAt(1, QColor(0, 100, 0));
    p.setPen(QPen(QColor(0, 60, 0), 1.5));
    p.setBrush(fill);
    p.drawPolygon(arrow);
    return glyph;
}

QPixmap MakerPicture() {
    return MakerPicture(PictureDevicePixelRatio());
}

QPixmap MakerPicture(qreal devicePixelRatio) {
    QPixmap picture = Canvas(QSize(62, 21), devicePixelRatio, Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 60, 140));
    p.drawRoundedRect(QRectF(0.5, 0.5, 61, 20), 4, 4);
    p.fillRect(QRect(5, 8, 9, 3), kConductor);              // a strip
    p.fillRect(QRect(3, 12, 13, 3), QColor(190, 190, 190)); // on its substrate
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(17, 0, 44, 21), Qt::AlignCenter, QStringLiteral("Help"));
    return picture;
}

namespace {

// The window icon on a 64 x 64 grid, scaled to `size`; the patterns keep
// their pixel pitch, so the small sizes stay legible.
void DrawWindowIcon(QPainter& p, int size) {
    p.scale(size / 64.0, size / 64.0);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 140), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);
    p.fillRect(QRect(8, 46, 48, 8), kGroundFill);
    p.fillRect(QRect(8, 46, 48, 8), QBrush(Qt::black, Qt::BDiagPattern));
    p.fillRect(QRect(8, 28, 48, 18), kDielectric);
    p.fillRect(QRect(8, 28, 48, 18), QBrush(kDielectricDots, Qt::Dense6Pattern));
    p.setPen(QPen(kConductorEdge, 1));
    p.setBrush(kConductor);
    p.drawRect(QRectF(22.5, 20.5, 19, 7));
}

// Draws the icon at whatever size is asked for, when it is asked for.  It
// names no sizes of its own: the window system is then given its usual few
// (16 to 128 pixels) rather than every size a list would hold.
class WindowIconEngine : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const int size = std::min(rect.width(), rect.height());
        painter->save();
        painter->translate(rect.x() + (rect.width() - size) / 2,
                           rect.y() + (rect.height() - size) / 2);
        DrawWindowIcon(*painter, size);
        painter->restore();
    }
    QIconEngine* clone() const override { return new WindowIconEngine; }
};

} // namespace

QIcon WindowIcon() {
    return QIcon(new WindowIconEngine);
}

// The window's pictures are drawn at the device pixel ratio, not enlarged:
// sharp under QT_SCALE_FACTOR and on high-density screens, and never larger
// than the place they are shown in.  ctest runs this class again with
// QT_SCALE_FACTOR=2 and 1.5 (ui_gui_tests_scale*).
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "guitest.h"
#include "models/linetypes.h"
#include "ui/linepictures.h"

namespace {

// True when no 2 x 2 block of device pixels holds one colour throughout:
// a picture drawn at ratio 1 and enlarged twice would consist of such blocks
// only.  Used on pictures at ratio 2.
bool HasDetailFinerThanTwoPixels(const QImage& image) {
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                image.pixel(x + 1, y + 1) != c)
                return true;
        }
    return false;
}

class SharpPicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void drawnAtTheRatio_data() {
        QTest::addColumn<qreal>("ratio");
        for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0})
            QTest::newRow(qPrintable(QString::number(ratio))) << ratio;
    }
    void drawnAtTheRatio() {
        QFETCH(qreal, ratio);
        const std::pair<QPixmap, QSize> pictures[] = {
            {LinePicture(0, ratio), {128, 80}},  {LinePicture(1, ratio), {128, 80}},
            {LinePicture(2, ratio), {128, 80}},  {LinePicture(3, ratio), {128, 80}},
            {LinePicture(4, ratio), {128, 80}},  {LinePicture(5, ratio), {128, 80}},
            {LinePicture(6, ratio), {128, 80}},  {LinePicture(7, ratio), {128, 80}},
            {ArrowGlyph(true, ratio), {32, 32}}, {ArrowGlyph(false, ratio), {32, 32}},
            {MakerPicture(ratio), {62, 21}}};
        for (const auto& [pixmap, logical] : pictures) {
            QCOMPARE(pixmap.devicePixelRatio(), ratio);
            QCOMPARE(pixmap.size(), logical * ratio); // rounded
            QCOMPARE(pixmap.deviceIndependentSize().toSize(), logical);
            if (ratio == 2.0) QVERIFY(HasDetailFinerThanTwoPixels(pixmap.toImage()));
        }
    }

    // The icon holds every size it is asked for without scaling a smaller one up.
    void iconDrawnAtEverySize() {
        const QIcon icon = WindowIcon();
        for (int size : {16, 32, 48, 64, 128, 256})
            QCOMPARE(icon.pixmap(QSize(size, size), 1.0).size(), QSize(size, size));
        QVERIFY(HasDetailFinerThanTwoPixels(icon.pixmap(QSize(256, 256), 1.0).toImage()));
    }

    // The window at the application's ratio (2 under QT_SCALE_FACTOR=2): each
    // picture has ratio times its pixels and fits its place.
    void windowAtTheApplicationsRatio() {
        const qreal ratio = PictureDevicePixelRatio();
        const QString requested = qEnvironmentVariable("QT_SCALE_FACTOR");
        if (!requested.isEmpty()) QCOMPARE(ratio, requested.toDouble());

        QString folder = qEnvironmentVariable("TAVREL_SCREENSHOTS");
        if (folder.isEmpty()) folder = QDir::currentPath() + QStringLiteral("/screenshots");
        QDir().mkpath(folder);
        TestWindow w;
        TForm1& f = *w;
        for (int i = 0; i < int(LineTypes().size()); ++i) {
            const QLabel* image = f.LineImages[static_cast<std::size_t>(i)];
            const QPixmap pixmap = image->pixmap();
            QCOMPARE(pixmap.size(), QSize(128, 80) * ratio);
            QVERIFY(image->contentsRect().width() >= 128 && image->contentsRect().height() >= 80);
            QVERIFY(
                pixmap.save(folder + QStringLiteral("/picture%1-scale-%2.png").arg(i).arg(ratio)));
        }
        for (const QPushButton* button : {f.AnalyzeButton, f.SynthesizeButton, f.QRXButton}) {
            const QSize icon = button->iconSize();
            QVERIFY2(icon.width() <= button->width() - 4 && icon.height() <= button->height() - 4,
                     qPrintable(button->objectName()));
            const QPixmap shown = button->icon().pixmap(icon, ratio);
            QCOMPARE(shown.size(), icon * ratio);
        }
        // Saved to be looked at, beside the other screenshots.
        const QPixmap photo = f.grab();
        QCOMPARE(photo.size(), f.size() * ratio);
        QVERIFY(photo.save(folder + QStringLiteral("/window-scale-%1.png").arg(ratio)));
    }
};

RegisterGuiTest<SharpPicturesTest> registered;

} // namespace

#include "sharp_pictures_test.moc"

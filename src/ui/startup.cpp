#include "ui/startup.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>

#include "ui/messagebox.h"

namespace {

// A chevron pointing right (or down), drawn at the usual 16 pixels.
QIcon ExtensionArrow(bool down) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QApplication::palette().color(QPalette::WindowText), 1.5));
    if (down) p.translate(16, 0), p.rotate(90);
    for (double x : {4.0, 8.0})
        p.drawPolyline(QPolygonF{{x, 4.0}, {x + 4.0, 8.0}, {x, 12.0}});
    p.end();
    return QIcon(picture);
}

class ApplicationStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton) return ExtensionArrow(false);
        if (icon == SP_ToolBarVerticalExtensionButton) return ExtensionArrow(true);
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

} // namespace

void InstallApplicationStyle() {
    QApplication::setStyle(new ApplicationStyle); // the application owns it
}

std::unique_ptr<TForm1> CreateMainWindow(const std::function<std::unique_ptr<TForm1>()>& create,
                                         std::FILE* errors) {
    try {
        return create();
    } catch (...) {
        const QString message = CurrentExceptionMessage();
        std::fprintf(errors, "tavrel: %s\n", message.toLocal8Bit().constData());
        std::fflush(errors);
        ShowMessageBox(nullptr, BoxKind::Error, QStringLiteral("TAVREL 2003"), message);
        return nullptr;
    }
}

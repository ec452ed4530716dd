// A browser or mail program for the session tests, registered through a
// desktop file. It records how it was started (its arguments and the
// environment a launcher hands over) and, asked to, shows a window titled
// after its address and activates it the way Qt programs do, with the
// token it was given.
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>

namespace {

// Activates itself once its first frame is up: a compositor ignores the
// request for a window it has not mapped yet, and Qt spends the token on
// the first request.
class Window : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(QRect(QPoint(), size()), Qt::white);
        if (!m_painted) {
            m_painted = true;
            QTimer::singleShot(200, this, &QWindow::requestActivate);
        }
    }

private:
    bool m_painted = false;
};

QByteArray line(const char *key, const QByteArray &value)
{
    return QByteArray(key) + '=' + value + '\n';
}

QByteArray environmentLine(const char *name)
{
    return line(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray("<unset>"));
}

} // namespace

int main(int argc, char **argv)
{
    // What the launcher handed over, before Qt reads or clears any of it.
    QByteArray record;
    for (int i = 1; i < argc; ++i)
        record += line("arg", argv[i]);
    for (const char *name : {"QT_QPA_PLATFORM", "XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        record += environmentLine(name);

    const bool showWindow = qEnvironmentVariableIsSet("ZV_FAKE_WINDOW");
    if (!showWindow) {
        QFile out(qEnvironmentVariable("ZV_FAKE_RECORD"));
        if (out.open(QIODevice::Append))
            out.write(record + "end\n");
        return 0;
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(qEnvironmentVariable("ZV_FAKE_APPID", QStringLiteral("zvfake")));
    Window window;
    window.setTitle(QStringLiteral("Fake browser ") + QCoreApplication::arguments().value(1));
    window.resize(320, 200);
    window.show();
    record += line("platform", QGuiApplication::platformName().toUtf8());
    QFile out(qEnvironmentVariable("ZV_FAKE_RECORD"));
    if (out.open(QIODevice::Append))
        out.write(record + "end\n");
    out.close();
    QTimer::singleShot(qEnvironmentVariableIntValue("ZV_FAKE_SECONDS") * 1000 + 500, &app, &QCoreApplication::quit);
    return app.exec();
}

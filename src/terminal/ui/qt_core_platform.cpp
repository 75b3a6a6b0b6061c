#include "terminal/ui/qt_core_platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace sondix {

QString FromLatin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ToLatin1(const QString& s) {
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QtClock::QtClock() {
    elapsed_.start();
}

double QtClock::Monotonic() {
    return static_cast<double>(elapsed_.nsecsElapsed()) * 1e-9;
}

Gen::DateTime QtClock::Now() {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

void QtClock::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtClock::Wait(double seconds) {
    if (!(seconds > 0)) {
        DoEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::lround(seconds * 1000)), &loop, &QEventLoop::quit);
    loop.exec();
}

QtSettingsStore::QtSettingsStore() : settings_("Sondix", "Sondix") {}

std::string QtSettingsStore::Get(std::string_view section, std::string_view key) {
    return ToLatin1(settings_.value(FromLatin1(section) + "/" + FromLatin1(key)).toString());
}

void QtSettingsStore::Set(std::string_view section, std::string_view key, std::string_view value) {
    settings_.setValue(FromLatin1(section) + "/" + FromLatin1(key), FromLatin1(value));
}

}  // namespace sondix

// Start-up and memory benchmark. Runs Corvane and a baseline (a bare
// QMessageBox closed at once, then a bare QMainWindow) in fresh processes on
// the offscreen platform, and prints the medians of the time from process
// start until the main window is shown and of peak resident memory, with the
// ratio Corvane/baseline; then the cost of one input-timer tick and of one
// frequency update. It measures and prints; it asserts nothing.
//
// Usage: corvane_bench [RUNS]
#include "application.h"
#include "testsupport.h"

#include <QMainWindow>
#include <QProcess>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

qint64 monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

long peakRssKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Closes the start-up notice as soon as it is shown, as an operator would.
void closeNoticesAtOnce()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    timer->start(0);
}

// Shown means painted: the first paint event of the window has been handled.
class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void waitUntilShown(QWidget &w)
{
    FirstPaint paint;
    w.installEventFilter(&paint);
    w.show();
    while (!paint.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();
    w.removeEventFilter(&paint);
}

// Child process: start the program or the baseline and report.
int child(const QString &what, qint64 launchedNs, int argc, char *argv[])
{
    QApplication app(argc, argv);
    closeNoticesAtOnce();
    qint64 shownNs = 0;
    if (what == QLatin1String("corvane")) {
        setUpApplication(); // as main() does
        transceiver_master window;
        waitUntilShown(window);
        shownNs = monotonicNs();
    } else {
        {
            QMessageBox box;
            box.setText(QStringLiteral("Соединение"));
            box.setInformativeText(QStringLiteral("Нет связи. Включён демо-режим"));
            box.exec();
        }
        QMainWindow window;
        waitUntilShown(window);
        shownNs = monotonicNs();
    }
    std::printf("%lld %ld\n", static_cast<long long>(shownNs - launchedNs), peakRssKiB());
    return 0;
}

struct Sample {
    double ms;
    double mib;
};

Sample runChild(const QString &program, const QString &what)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const qint64 launched = monotonicNs();
    p.start(program, {QStringLiteral("--child"), what, QString::number(launched)});
    p.waitForFinished(60000);
    const QList<QByteArray> fields = p.readAllStandardOutput().trimmed().split(' ');
    return {fields.value(0).toDouble() / 1e6, fields.value(1).toDouble() / 1024.0};
}

// In-process: the cost of one tick on the transceiver tab and of one
// frequency update, in microseconds (median of batches).
void timeOperations()
{
    closeNoticesAtOnce();
    transceiver_master window;
    window.show();
    MainWindowForm *ui = TestAccess::ui(window);
    ui->tabWidget->setCurrentIndex(3);
    ui->lineEdit_chNo->setText(QStringLiteral("1234"));
    const int batch = 200;
    std::vector<double> tick;
    std::vector<double> freq;
    for (int round = 0; round < 15; ++round) {
        qint64 t0 = monotonicNs();
        for (int i = 0; i < batch; ++i)
            QMetaObject::invokeMethod(&window, "on_inputTimerTick");
        tick.push_back((monotonicNs() - t0) / 1e3 / batch);
        t0 = monotonicNs();
        for (int i = 0; i < batch; ++i)
            TestAccess::updateFrequencies(window);
        freq.push_back((monotonicNs() - t0) / 1e3 / batch);
    }
    std::printf("input-timer tick (transceiver tab): %.1f us\n", median(tick));
    std::printf("updateFrequencies():                %.2f us\n", median(freq));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0)
        return child(QString::fromLatin1(argv[2]), QByteArray(argv[3]).toLongLong(), argc, argv);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    const QString self = QString::fromLocal8Bit(argv[0]);
    std::vector<double> ms[2], mib[2];
    const QString names[2] = {QStringLiteral("corvane"), QStringLiteral("baseline")};
    runChild(self, names[0]); // warm the file cache
    runChild(self, names[1]);
    for (int r = 0; r < runs; ++r) {
        for (int k = 0; k < 2; ++k) {
            const Sample s = runChild(self, names[(r + k) % 2]);
            const int which = (r + k) % 2;
            ms[which].push_back(s.ms);
            mib[which].push_back(s.mib);
        }
    }
    const double t[2] = {median(ms[0]), median(ms[1])};
    const double m[2] = {median(mib[0]), median(mib[1])};
    std::printf("%d runs each, offscreen platform, medians\n", runs);
    std::printf("%-10s %14s %14s\n", "", "start-up ms", "peak RSS MiB");
    std::printf("%-10s %14.1f %14.1f\n", "Corvane", t[0], m[0]);
    std::printf("%-10s %14.1f %14.1f\n", "baseline", t[1], m[1]);
    std::printf("ratio Corvane/baseline: start-up %.3fx (goal <= 1.15x), memory %.3fx "
                "(+%.2f MiB, goal <= +3 MiB)\n",
                t[0] / t[1], m[0] / m[1], m[0] - m[1]);

    QApplication app(argc, argv);
    timeOperations();
    return 0;
}

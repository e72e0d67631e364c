// Why a port would not open: the system's reason kept by the port and the
// advice for the usual causes (no permission, held by another program, gone).
#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTest>
#include <cerrno>

#include "serial/CPDrv.h"
#include "serial/OpenFailure.h"
#include "serial/PortHolders.h"
#include "serial/PortSystem.h"

using namespace serial;

namespace {
struct Pty {
    int master = -1;
    int slave = -1;
    QByteArray path;
    Pty() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
    }
    ~Pty() {
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
    }
};

// The error code of the port's own open of `path` by an ordinary user. Root
// passes both file modes and exclusive terminals, so as root the open is
// made by a child that has become "nobody".
int OpenAsUser(const QByteArray& path) {
    if (geteuid() != 0) {
        platform::SystemError error;
        const platform::Handle h = platform::Open(path.constData(), error);
        platform::Close(h);
        return error.code;
    }
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        int code = -2;
        if (setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0) {
            platform::SystemError error;
            const platform::Handle h = platform::Open(path.constData(), error);
            platform::Close(h);
            code = error.code;
        }
        (void)!write(fds[1], &code, sizeof code);
        _exit(0);
    }
    ::close(fds[1]);
    int code = -1;
    if (read(fds[0], &code, sizeof code) != sizeof code) code = -1;
    ::close(fds[0]);
    waitpid(child, nullptr, 0);
    return code;
}
}  // namespace

class TestOpenFailure : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cause_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("cause");
        QTest::newRow("permission denied") << EACCES << int(TOpenFailureCause::NoPermission);
        QTest::newRow("not permitted") << EPERM << int(TOpenFailureCause::NoPermission);
        QTest::newRow("busy") << EBUSY << int(TOpenFailureCause::Busy);
        QTest::newRow("no such file") << ENOENT << int(TOpenFailureCause::Gone);
        QTest::newRow("no such device or address") << ENXIO << int(TOpenFailureCause::Gone);
        QTest::newRow("no such device") << ENODEV << int(TOpenFailureCause::Gone);
        QTest::newRow("not a terminal") << ENOTTY << int(TOpenFailureCause::NotAPort);
        QTest::newRow("invalid argument") << EINVAL << int(TOpenFailureCause::Unknown);
    }
    void cause() {
        QFETCH(int, code);
        QFETCH(int, cause);
        QCOMPARE(int(OpenFailureCause(code)), cause);
    }

    void hint_eachKnownCauseHasItsOwn_unknownHasNone() {
        const QString permission = OpenFailureHint(TOpenFailureCause::NoPermission);
        const QString busy = OpenFailureHint(TOpenFailureCause::Busy);
        const QString gone = OpenFailureHint(TOpenFailureCause::Gone);
        QVERIFY(permission.contains(QLatin1String("dialout")));
        QVERIFY(busy.contains(QStringLiteral("другой программой")));
        QVERIFY(gone.contains(QStringLiteral("не найдено")));
        QVERIFY(OpenFailureHint(TOpenFailureCause::Unknown).isEmpty());
    }

    void detail_nothingKnown_isEmpty() {
        QVERIFY(OpenFailureDetail(TPortError{}).isEmpty());
        QVERIFY(OpenFailureReason(TPortError{}).isEmpty());
    }

    void detail_withoutSystemText_namesTheCode() {
        const TPortError error{QStringLiteral("/dev/ttyUSB0"), 12345, QString()};
        QCOMPARE(OpenFailureDetail(error), QStringLiteral("/dev/ttyUSB0: ошибка 12345"));
    }

    void missingDevice_reasonNamesPortAndCause_hintSaysGone() {
        TCommPortDriver port;
        port.SetPortName(QStringLiteral("/dev/ttyUSB-tolmarik-gone"));
        QVERIFY(!port.Connect());
        const TPortError error = port.LastOpenError();
        QCOMPARE(error.code, ENOENT);
        const QStringList lines = OpenFailureDetail(error).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("/dev/ttyUSB-tolmarik-gone: ") + error.text);
        QCOMPARE(lines[1], OpenFailureHint(TOpenFailureCause::Gone));
    }

    void unreadableDevice_permissionDenied() {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        QCOMPARE(chmod(pty.path.constData(), 0), 0);
        const int code = OpenAsUser(pty.path);
        QCOMPARE(code, EACCES);
        QCOMPARE(OpenFailureCause(code), TOpenFailureCause::NoPermission);
    }

    void portHeldExclusively_busy() {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        // Open to everyone, so that only the other handle's hold stops the open.
        QCOMPARE(chmod(pty.path.constData(), 0666), 0);
        QCOMPARE(ioctl(pty.slave, TIOCEXCL), 0);
        const int code = OpenAsUser(pty.path);
        QCOMPARE(code, EBUSY);
        QCOMPARE(OpenFailureCause(code), TOpenFailureCause::Busy);
        // Released, the same port opens.
        QCOMPARE(ioctl(pty.slave, TIOCNXCL), 0);
        QCOMPARE(OpenAsUser(pty.path), 0);
    }

    void busyHint_namesTheUsualHolders_data() {
        QTest::addColumn<QStringList>("holders");
        QTest::addColumn<QString>("named");
        QTest::newRow("braille daemon") << QStringList{"brltty"} << "brltty";
        QTest::newRow("modem manager among others")
            << QStringList{"bash", "ModemManager"} << "ModemManager";
        QTest::newRow("both: brltty first") << QStringList{"ModemManager", "brltty"} << "brltty";
        QTest::newRow("a terminal program") << QStringList{"minicom"} << "";
        QTest::newRow("nobody seen") << QStringList{} << "";
    }
    void busyHint_namesTheUsualHolders() {
        QFETCH(QStringList, holders);
        QFETCH(QString, named);
        const QString hint = BusyHint(holders);
        if (named.isEmpty()) {
            QCOMPARE(hint, OpenFailureHint(TOpenFailureCause::Busy));
        } else {
            QVERIFY2(hint.contains(named), qPrintable(hint));
            QVERIFY(hint != OpenFailureHint(TOpenFailureCause::Busy));
        }
    }

    void portHolders_findsThisProcess_notForAnotherTerminal() {
        Pty held;
        Pty other;
        QVERIFY(!held.path.isEmpty() && !other.path.isEmpty());
        ::close(other.slave);
        other.slave = -1;
        QFile comm(QStringLiteral("/proc/self/comm"));
        QVERIFY(comm.open(QIODevice::ReadOnly));
        const QString self = QString::fromLocal8Bit(comm.readAll()).trimmed();
        QCOMPARE(PortHolders(QString::fromLocal8Bit(held.path)), QStringList{self});
        QVERIFY(PortHolders(QString::fromLocal8Bit(other.path)).isEmpty());
        QVERIFY(PortHolders(QStringLiteral("/dev/ttyUSB-tolmarik-gone")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOpenFailure)
#include "tst_openfailure.moc"

// One running copy per user: a second start of the real program hands over
// to the first and ends with exit code 0 without touching any file, and a
// socket left behind by a copy that ended abnormally stands in nobody's
// way.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <map>

#include "ui/app/single_instance.h"

namespace {

// The per-user directories of a program started by the test, all inside
// one temporary directory.
class UserDirs {
public:
    UserDirs() {
        for (const char* d : {"runtime", "home", "config", "data", "tmp"}) QDir(dir_.path()).mkpath(d);
        QFile::setPermissions(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString Path(const QString& sub) const { return dir_.path() + "/" + sub; }
    // Without a runtime directory of the session the program makes its own
    // below TMPDIR.
    QProcessEnvironment Environment(bool runtime_dir = true) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, sub] : {std::pair{"TMPDIR", "tmp"}, {"XDG_RUNTIME_DIR", "runtime"}, {"HOME", "home"},
                                        {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}})
            env.insert(name, Path(sub));
        if (!runtime_dir) env.remove("XDG_RUNTIME_DIR");
        return env;
    }
    // Every file below the directories with its size and time of change.
    std::map<QString, QString> Files() const {
        std::map<QString, QString> files;
        for (const char* d : {"home", "config", "data"}) {
            QDirIterator it(Path(d), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QFileInfo f(it.next());
                files[f.filePath()] = QString::number(f.size()) + " " + f.lastModified().toString(Qt::ISODateWithMs);
            }
        }
        return files;
    }

private:
    QTemporaryDir dir_;
};

// The launcher, which loads no Qt, and the program must agree on the socket
// with and without the session's runtime directory. With one, a socket left
// behind by a copy that died (bound, closed, its file not removed) is in the
// first start's way.
TEST(SingleInstance, ASecondStartHandsOverAndEndsWithZeroWithoutWritingAnything) {
    for (const bool runtime_dir : {true, false}) {
        SCOPED_TRACE(runtime_dir ? "XDG_RUNTIME_DIR set" : "no XDG_RUNTIME_DIR");
        UserDirs dirs;
        const QString user = qEnvironmentVariable("USER", QString::number(getuid()));
        const QString name = dirs.Path(runtime_dir ? "runtime" : "tmp/runtime-" + user) + "/TVelkarnWindow-" + user;
        if (runtime_dir) {
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray path = name.toLocal8Bit();
            ASSERT_LT(path.size(), static_cast<int>(sizeof address.sun_path));
            std::memcpy(address.sun_path, path.constData(), path.size());
            ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            close(fd);
        }

        QProcess first, second;
        for (QProcess* p : {&first, &second}) p->setProcessEnvironment(dirs.Environment(runtime_dir));
        first.start(QString::fromUtf8(VELKARN_GUI), {});
        ASSERT_TRUE(first.waitForStarted(10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return HandOverToRunningCopy(name, 500); }, 15000)) << "no first copy";
        const auto before = dirs.Files();

        second.start(QString::fromUtf8(VELKARN_GUI), {});
        ASSERT_TRUE(second.waitForFinished(15000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(dirs.Files(), before) << "the second copy read or wrote the program's files";
        EXPECT_EQ(first.state(), QProcess::Running) << "the first copy keeps running";
        if (!runtime_dir) {  // rwx for the owner (and user) bits only
            EXPECT_EQ(QFile::permissions(QFileInfo(name).absolutePath()), QFile::Permissions(0x7700))
                << "the program's own runtime directory is closed to others";
        }

        first.kill();
        first.waitForFinished(5000);
    }
}

}  // namespace

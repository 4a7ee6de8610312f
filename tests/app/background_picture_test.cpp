// The settings' background picture: whatever [Bitmap] Background names, the start goes on at
// once. A pipe there is not waited on, a device not read, and only a regular file that holds a
// picture gives one.
#include "config/Config.h"
#include "platform/vcl/Forms.h"
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString kMissing = QStringLiteral("Does Not Exist");

// The settings file beside the test program, which the main window reads as it starts, holding
// text while this lives; what stood there before is put back.
class ProgramSettings {
public:
    explicit ProgramSettings(const AnsiString& text)
        : path_(ChangeFileExt(ParamStr0(), ".INI")), had_(QFile::exists(PathToUnicode(path_)))
    {
        if (had_) before_ = PadTestFiles::Read(path_);
        PadTestFiles::Write(path_, text);
        written_ = PadTestFiles::Read(path_) == text;
    }
    // Whether the settings could be put there: the test program's folder may be closed to the user.
    bool Written() const { return written_; }
    ~ProgramSettings()
    {
        if (had_) PadTestFiles::Write(path_, before_);
        else ::unlink(path_.c_str());
    }

private:
    AnsiString path_, before_;
    bool had_;
    bool written_ = false;
};

}  // namespace

// A pipe named as the background picture: the window shows, without the picture, and the start
// takes no longer than it does without one. Should the start wait on the pipe, a writer lets it
// go after three seconds and the test fails on the time taken.
TEST(BackgroundPicture, APipeInTheSettingsLetsTheWindowShow)
{
    QTemporaryDir dir;
    const AnsiString pipe = UnicodeToPath(dir.path()) + "/back.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const ProgramSettings settings("[Bitmap]\r\nBackground=" + pipe + "\r\n");
    if (!settings.Written()) GTEST_SKIP() << "this user may not write the settings beside the test program";
    const Watchdog watchdog(std::chrono::seconds(30));
    const PadTestFiles::PipeUnblocker unblocker(pipe);
    DialogRecorder boxes;
    QElapsedTimer started;
    started.start();
    ShownForm f;
    QApplication::processEvents();
    EXPECT_LT(started.elapsed(), 2500) << "the start waited on the pipe";
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(Config->BackgroundPath, pipe);
    EXPECT_EQ(Config->BackgroundBitmap, nullptr);
    EXPECT_TRUE(boxes.calls.empty());
}

// Names that are no picture file load nothing, at once; only a name that is missing (or names a
// folder, which is no file) is told, as before. A device is made for the test where this user
// may make one, else the system's own is named, which the reader never opens.
TEST(BackgroundPicture, NamesThatAreNoPictureLoadNothingAndWaitOnNothing)
{
    QTemporaryDir dir;
    const AnsiString folder = UnicodeToPath(dir.path());
    const auto at = [&folder](const char* name) { return folder + "/" + name; };
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(PathToUnicode(at("real.png"))));
    ASSERT_EQ(::mkfifo(at("pipe.png").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(at("pipe.png").c_str(), at("to-pipe.png").c_str()), 0);
    AnsiString device = at("zero.png");
    if (::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 5)) != 0) {
        ASSERT_EQ(errno, EPERM);
        device = "/dev/zero";
    }
    ASSERT_EQ(::mkdir(at("folder.png").c_str(), 0700), 0);
    PadTestFiles::Write(at("garbage.png"), "\x89PNG\r\n\x1a\n but nothing of a picture after it");
    PadTestFiles::Write(at("empty.png"), "");
    // Larger than any picture is taken, without taking the room: a file with a hole.
    const int huge = ::open(at("huge.png").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(huge, 0);
    ASSERT_EQ(::ftruncate(huge, off_t(1) << 32), 0);
    ::close(huge);

    const struct {
        const char* what;
        AnsiString path;
        bool loads;
        bool told;  // the "Does Not Exist" box
    } rows[] = {
        {"a picture", at("real.png"), true, false},
        {"a named pipe", at("pipe.png"), false, false},
        {"a link to a named pipe", at("to-pipe.png"), false, false},
        {"a device that reads without end", device, false, false},
        {"a folder", at("folder.png"), false, true},
        {"a missing file", at("missing.png"), false, true},
        {"a file too large", at("huge.png"), false, false},
        {"garbage after a picture's signature", at("garbage.png"), false, false},
        {"an empty file", at("empty.png"), false, false},
    };
    const Watchdog watchdog(std::chrono::seconds(30));
    const PadTestFiles::PipeUnblocker unblocker(at("pipe.png"));
    const AnsiString ini = at("settings.INI");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PadTestFiles::Write(ini, "[Bitmap]\r\nBackground=" + row.path + "\r\n");
        DialogRecorder boxes;
        QElapsedTimer started;
        started.start();
        new TConfig(ini.c_str());
        EXPECT_LT(started.elapsed(), 2500) << "the settings waited on the picture";
        ASSERT_EQ(Config->BackgroundBitmap != nullptr, row.loads);
        if (row.loads) {
            EXPECT_EQ(Config->BackgroundBitmap->size(), QSize(4, 3));
        }
        ASSERT_EQ(boxes.calls.size(), row.told ? 1u : 0u);
        if (row.told) {
            EXPECT_TRUE(boxes.calls[0].text.contains(kMissing)) << boxes.calls[0].text.toStdString();
        }
    }
    delete Config;
}

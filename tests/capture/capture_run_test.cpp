// Whole runs of the program through zwirbelalp-capture, each in its own process.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/common/little_endian.h"
#include "support/capture_harness.h"

namespace {

constexpr std::size_t wavHeaderBytes = 44;
constexpr std::uint64_t soundRate = 44100;

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

std::uint32_t littleEndian32(const std::string& bytes, std::size_t at)
{
    return platform::le32(reinterpret_cast<const std::uint8_t*>(bytes.data() + at));
}

// Stereo frames in a WAV file whose header agrees with its length, or -1.
long long wavFrames(const std::string& wav)
{
    if (wav.size() < wavHeaderBytes || wav.compare(0, 4, "RIFF") != 0) return -1;
    std::uint32_t dataBytes = littleEndian32(wav, 40);
    if (dataBytes != wav.size() - wavHeaderBytes || littleEndian32(wav, 4) != dataBytes + 36) return -1;
    return dataBytes / 4;
}

// The same script twice at the NTSC rate: identical pictures and sound, and exactly
// as many samples as the frames' clock time holds (any per-frame rounding would
// show after a few hundred frames).
TEST(CaptureRun, SameInputsGiveIdenticalBytesAndExactSound)
{
    const char* script = "# keys, pointer and button while the show runs\n"
                         "0.5 key Q\n"
                         "1.0 mouse 100 200\n"
                         "1.5 button down\n"
                         "2.0 mouse 120 10\n"
                         "2.5 button up\n";
    std::string runs[2], sound[2], first[2], last[2];
    std::uint64_t frames = 0;
    for (int i = 0; i < 2; ++i) {
        std::string dir = makeShowDir();
        writeFile(dir + "/input.txt", script);
        CaptureResult run = runCapture({"--fps", "60000/1001", "--seconds", "4", "--input", "input.txt",
                                        "--png", "png", "--at", "1,3.9", "--audio", "sound.wav"},
                                       dir);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        ASSERT_TRUE(run.reportRead) << run.output;
        ASSERT_EQ(run.pngs.size(), 2u);
        EXPECT_TRUE(run.boxes.empty()) << run.boxes[0].text;
        first[i] = readFile(run.pngs[0].path);
        last[i] = readFile(run.pngs[1].path);
        sound[i] = readFile(dir + "/sound.wav");
        frames = run.frames;
    }
    // (Files are compared as wholes: printing megabytes of differences helps no one.)
    EXPECT_GT(frames, 4u * 60000 / 1001);
    EXPECT_FALSE(first[0].empty());
    EXPECT_TRUE(first[0] == first[1]) << "the picture at 1 s differs between runs";
    EXPECT_TRUE(last[0] == last[1]) << "the picture at 3.9 s differs between runs";
    EXPECT_FALSE(first[0] == last[0]) << "the show does not move";
    EXPECT_EQ(sound[0].size(), sound[1].size());
    EXPECT_TRUE(sound[0] == sound[1]) << "the sound differs between runs";
    EXPECT_EQ(wavFrames(sound[0]), (long long)(frames * 1001 * soundRate / 60000));
}

TEST(CaptureRun, TwiceThePictureSize)
{
    std::string dir = makeShowDir();
    CaptureResult run = runCapture({"--seconds", "0.5", "--scale", "2", "--png", "png", "--at", "0.4"}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_EQ(run.pngs.size(), 1u);
    std::string png = readFile(run.pngs[0].path);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(bigEndian32(png, 16), 1280u);
    EXPECT_EQ(bigEndian32(png, 20), 960u);
}

// Ctrl+C ends the program at its next frame: the video holds whole frames only, the
// sound file's header matches its length, and the report says what happened.
TEST(CaptureRun, InterruptedRunLeavesReadableFiles)
{
    std::string dir = makeShowDir();
    int pid = startCapture({"--seconds", "600", "--video", "video.y4m", "--audio", "sound.wav"}, dir);
    ASSERT_GT(pid, 0);
    const std::size_t frameBytes = std::strlen("FRAME\n") + 640 * 480 * 3 / 2;
    for (int wait = 0; wait < 600 && readFile(dir + "/video.y4m").size() < 10 * frameBytes; ++wait)
        usleep(100000);
    kill(pid, SIGINT);
    CaptureResult run = finishCapture(pid, dir);
    EXPECT_EQ(run.exitCode, 130) << run.output;
    ASSERT_TRUE(run.reportRead) << run.output;
    EXPECT_TRUE(run.interrupted);
    EXPECT_GE(run.frames, 10u);
    std::string video = readFile(dir + "/video.y4m");
    std::size_t header = video.find('\n') + 1;
    EXPECT_EQ(video.compare(0, 10, "YUV4MPEG2 "), 0);
    EXPECT_EQ(video.size(), header + run.frames * frameBytes);
    EXPECT_EQ(wavFrames(readFile(dir + "/sound.wav")), (long long)(run.frames * soundRate / 60));
}

// The first Escape turns the show to its outro; once the outro has run 11 seconds
// the next Escape ends the program, long before the close request.
TEST(CaptureRun, SecondEscapeAfterTheOutroEndsTheProgram)
{
    std::string dir = makeShowDir();
    writeFile(dir + "/input.txt", "1 key Escape\n5 key Escape\n13 key Escape\n");
    CaptureResult run = runCapture({"--seconds", "60", "--input", "input.txt"}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.seconds, 13.0);
    EXPECT_LT(run.seconds, 13.2);
}

// An encoded video needs ffmpeg; the sound goes in once the run is over, and the
// intermediate files are gone.
TEST(CaptureRun, EncodedVideoWithSound)
{
    if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    std::string dir = makeShowDir();
    CaptureResult run = runCapture({"--seconds", "1.5", "--video", "show.mkv"}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string video = readFile(dir + "/show.mkv");
    ASSERT_GT(video.size(), 4u);
    EXPECT_EQ(bigEndian32(video, 0), 0x1A45DFA3u) << "not a Matroska file";
    EXPECT_TRUE(readFile(dir + "/show.mkv.part").empty());
    EXPECT_TRUE(readFile(dir + "/show.mkv.sound.wav").empty());
}

// Without stuff.dat every media file fails: the boxes are answered and reported, and
// the quit message they post ends the loop before any frame.
TEST(CaptureRun, MessageBoxesAreAnsweredAndReported)
{
    std::string dir = makeTempDir();
    CaptureResult run = runCapture({"--seconds", "5"}, dir);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.programExit, 0);
    EXPECT_EQ(run.frames, 0u);
    ASSERT_FALSE(run.boxes.empty());
    EXPECT_EQ(run.boxes[0].caption, "FATAL MARLU");
    EXPECT_EQ(run.boxes[0].text, "Error in Archive stuff.dat");
    EXPECT_EQ(run.boxes[0].answer, "ok");
    EXPECT_NE(run.output.find("Error in Archive stuff.dat"), std::string::npos);
}

TEST(CaptureRun, ScriptMistakeNamesTheLineAndRunsNothing)
{
    std::string dir = makeTempDir();
    writeFile(dir + "/input.txt", "1 key A\n2 key Esc\n");
    CaptureResult run = runCapture({"--input", "input.txt"}, dir);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("input.txt: line 2: 'Esc' is not a key"), std::string::npos) << run.output;
    EXPECT_FALSE(run.reportRead);
}

}  // namespace

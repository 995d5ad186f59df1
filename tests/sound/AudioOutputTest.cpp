#include "SoundTestSupport.h"

#include "platform/DAudioOutputSDL.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::uint16_t Le16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

TEST(AudioCapture, WavFileHoldsTheMixedStream) {
    TempDir dir;
    DClock clock(DClock::Mode::Manual);
    const auto wavPath = dir / "out.wav";
    auto wav = DAudioOutputCapture::ToWav(clock, wavPath);
    ASSERT_NE(wav, nullptr);
    wav->Create(16);
    wav->Play();
    std::span<std::int16_t> half = wav->Lock(0, 8);
    const std::int16_t samples[] = {1, -2, 300, -32767};
    std::copy(std::begin(samples), std::end(samples), half.begin());
    wav->Unlock();
    wav->Lock(8, 8)[0] = 7;
    wav->Unlock();

    // Complete after every half, without closing the file.
    const std::string bytes = ReadFile(wavPath);
    ASSERT_EQ(bytes.size(), 44u + 16u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(bytes, 4), 36u + 16u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32(bytes, 16), 16u);
    EXPECT_EQ(Le16(bytes, 20), 1u);
    EXPECT_EQ(Le16(bytes, 22), 2u);
    EXPECT_EQ(Le32(bytes, 24), 44100u);
    EXPECT_EQ(Le32(bytes, 28), 176400u);
    EXPECT_EQ(Le16(bytes, 32), 4u);
    EXPECT_EQ(Le16(bytes, 34), 16u);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(Le32(bytes, 40), 16u);
    EXPECT_EQ(ToSamples(std::vector<std::uint8_t>(bytes.begin() + 44, bytes.end())),
              (std::vector<std::int16_t>{1, -2, 300, -32767, 7, 0, 0, 0}));
}

TEST(AudioCapture, AnUnwritableWavFileIsRefused) {
    TempDir dir;
    DClock clock(DClock::Mode::Manual);
    EXPECT_EQ(DAudioOutputCapture::ToWav(clock, dir / "missing" / "out.wav"), nullptr);
    try {
        CSoundEngine::OpenOutput(clock, true, (dir / "missing" / "out.wav").string());
        FAIL() << "an unwritable capture file must fail";
    } catch (const CADVException& e) {
        EXPECT_NE(std::string(e.GetText()).find("out.wav"), std::string::npos);
    }
}

// The capture reports each crossing once, and only when the clock says
// playback got there: 512 frames are 11.6 ms.
TEST(AudioCapture, CrossingsFollowTheClock) {
    DClock clock(DClock::Mode::Manual, 5000);
    DAudioOutputCapture capture(clock, DAudioOutputCapture::Sink::Memory);
    capture.Create(4096);
    using Point = DAudioOutput::Point;
    EXPECT_FALSE(capture.WaitFor(Point::Start, 0)) << "not playing yet";
    capture.Play();
    EXPECT_TRUE(capture.WaitFor(Point::Start, 0)) << "starting crosses the start";
    EXPECT_FALSE(capture.WaitFor(Point::Start, 0));
    clock.Set(5011);
    EXPECT_FALSE(capture.WaitFor(Point::Middle, 1));
    clock.Set(5012);
    EXPECT_TRUE(capture.WaitFor(Point::Middle, 0));
    EXPECT_FALSE(capture.WaitFor(Point::Middle, 0));
    clock.Set(5024);
    EXPECT_TRUE(capture.WaitFor(Point::Start, 0));
    // Both points passed between two looks: each is reported, in the order
    // they were crossed, so the writer fills every half.
    clock.Set(5047);
    EXPECT_FALSE(capture.WaitFor(Point::Start, 0)) << "the middle came first";
    EXPECT_TRUE(capture.WaitFor(Point::Middle, 0));
    EXPECT_TRUE(capture.WaitFor(Point::Start, 0));
    EXPECT_FALSE(capture.WaitFor(Point::Middle, 0));
}

// SDL's dummy driver (the tests' environment) pulls from the buffer like a
// device: the engine runs on it and its notifications arrive.
TEST(AudioDevice, SdlOutputNotifiesAsTheDevicePulls) {
    std::string error;
    auto device = DAudioOutputSDL::Open(error);
    ASSERT_NE(device, nullptr) << error;
    device->Create(4096);
    device->Play();
    EXPECT_TRUE(device->WaitFor(DAudioOutput::Point::Start, 0));
    EXPECT_TRUE(device->WaitFor(DAudioOutput::Point::Middle, 5000));
    EXPECT_TRUE(device->WaitFor(DAudioOutput::Point::Start, 5000));
}

} // namespace

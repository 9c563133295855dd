#pragma once

#include <memory>
#include <string>
#include <vector>

class PendingFile;

// The name of frame k in a folder of frames: frame-007.png; and whether a
// name is one such.
std::string FrameName(unsigned k);
bool IsFrameName(const std::string& name);
// DIR/frame-007.png.
std::string FramePath(const std::string& directory, unsigned k);

// Joins frames 0 .. count - 1 of the folder into one looping animated
// picture, whole or not at all, both through ffmpeg: a GIF (a palette made
// from every frame first, so any size goes; delays spread 3, 3, 4, ... so
// that the rate holds) or an APNG. Returns an empty string on success, else
// the one line saying what went wrong.
std::string WriteGif(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path);
std::string WriteApng(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path);

// A video file that ffmpeg writes as frames arrive through a pipe, none of
// them kept on disk: H.264 in MP4 (yuv420p, which every player takes), or
// VP9 in WebM when the name ends in .webm. Odd sizes get one row or column
// of padding, as yuv420p needs even ones.
class VideoWriter {
public:
    VideoWriter(const std::string& path, int width, int height, unsigned framesPerSecond);
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;
    // Top-down rows of RGB bytes, width x height.
    bool Add(const std::vector<unsigned char>& rgb);
    // Waits for ffmpeg; an empty string on success, else what went wrong.
    std::string Finish();

private:
    std::unique_ptr<PendingFile> file_;  // the video appears whole, or not at all
    std::string problem_;
    int input_ = -1;   // ffmpeg's standard input
    int errors_ = -1;  // what ffmpeg says, in an unnamed file
    int pid_ = -1;
};

// A GIF's delays in hundredths of a second for count frames at the rate:
// 3, 3, 4, ... at 30 frames a second, so that frame k starts at k / rate,
// rounded.
std::vector<unsigned> GifDelays(unsigned count, unsigned framesPerSecond);

// The time in the motion (0 .. 1) of picture k of count, the first at the
// motion's start and the last at its end.
float MotionTimeOf(unsigned k, unsigned count);

#pragma once
// The snapshot command: one click on the smiley takes one snapshot of the viewer
// window's camera picture to the clipboard, the preview and a numbered file.

#include <cstdint>

#include "CaptureState.h"
#include "Ports.h"

namespace skl {

namespace texts {
inline constexpr const wchar_t* noIdMessage = L"You didn't say whose cam to capture!";
inline constexpr const wchar_t* askWho = L"Capture Who?";
inline constexpr const wchar_t* notFound = L"Not Found";
inline constexpr const wchar_t* viewerTitlePrefix = L"Webcam for ";
}  // namespace texts

// Where the camera picture lies inside the viewer window, and its two sizes.
inline constexpr ScreenPoint cameraOffset{26, 44};
inline constexpr ScreenPoint regularSize{322, 242};
inline constexpr ScreenPoint smallSize{162, 122};

// How long the clipboard is retried while another program holds it open.
inline constexpr int clipboardRetryMilliseconds = 2000;
inline constexpr int clipboardRetryPauseMilliseconds = 10;

enum class PlacementResult { Read, WindowGone, OutOfRange };

// Stores the corner of the viewer's restored rectangle in twips.
PlacementResult ReadCamPlacement(CaptureState& state, WindowLookup& windows, ScreenMetrics& screen);

// Copies the rectangle as the viewer shows it; no bitmap, and why, when it is empty
// or cannot be copied. The caller puts the bitmap on the clipboard.
GrabResult GrabScreenRegion(const ScreenRect& rect, WindowHandle viewer, CapturePorts& ports);

// A snapshot file's stamp, "mm-dd-yyyy hh-nn-ss": month, day, four-digit year,
// 24-hour clock, with literal separators whatever the regional settings are.
Text formatStamp(const LocalTime& time);

// How a snapshot file is named: folder, ID, "-", stamp, " ", number, ".bmp".
Text snapshotFileName(const Text& saveFolder, const Text& id, const Text& stamp, std::int16_t counter);

// Picture1_Click.
void takeSnapshot(CaptureState& state, CapturePorts& ports);

}  // namespace skl

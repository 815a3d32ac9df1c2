#pragma once
// The start-up picture: a small painted picture shown while the program starts. It closes by
// itself as soon as any other top-level window (the main window, or a message of the start-up)
// is shown.
namespace kvx {

// Call once, after the QApplication exists. Costs one small paint and one event pass.
void ShowStartupPicture();

}  // namespace kvx

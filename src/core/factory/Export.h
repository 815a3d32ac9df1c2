#pragma once
// The automatic test's Export without the window: encode the working data exactly as a write
// would, recording the blocks and channel rows of the ticked areas, and write the EPM file.
#include <string>

#include "core/files/Workspace.h"
#include "core/util/Prompts.h"

namespace kvx {

struct ExportOutcome {
  bool packOk = false;   // false: an encoder failed and showed its message; the export went on
  bool written = false;  // false: the EPM file could not be written (kEpmFileError was shown)
};

// Uses ws.autoTest.ExportAreaFlags as they stand. Prepares ws.image (ClearImage with the
// export reset), encodes a copy of the working settings and channels into it (encoders sort
// the book and complete IDs; the working data must stay as they are), then writes `path`.
// Afterwards ws.image holds the encoded data and ws.autoTest the block map and rows.
ExportOutcome RunAutoTestExport(Workspace& ws, const std::string& path, Prompts* prompts);

}  // namespace kvx

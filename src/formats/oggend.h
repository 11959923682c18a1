#pragma once

class ByteSource;

// Whether an Ogg file ends as a finished recording does: with a whole page
// that closes its stream (the end-of-stream flag). A recorder that stopped
// without finishing leaves a page cut off at the end or a last page without
// that flag. Reads only the last page's bytes.
bool oggEndsCleanly(const ByteSource &source);

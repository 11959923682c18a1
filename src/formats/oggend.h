#pragma once

#include <QtGlobal>

class ByteSource;

// Whether an Ogg file ends as a finished recording does: its last whole page
// (its checksum right) closes its stream (the end-of-stream flag). A recorder
// that stopped without finishing leaves a page cut off at the end or a last
// page without that flag; bytes after a finished stream's last page (a
// tagger's padding, a few stray bytes) take nothing from the recording. Reads
// only the file's last pages' bytes.
bool oggEndsCleanly(const ByteSource &source);

// The checksum of the Ogg page of size bytes at page, as its bytes 22 to 25
// hold it (the checksum field itself counted as zeros).
quint32 oggPageChecksum(const unsigned char *page, qint64 size);

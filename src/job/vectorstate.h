#pragma once

// Clears the upper halves of the AVX registers (vzeroupper) on a processor
// that has them; nothing elsewhere.
//
// Qt 6.4 hashes a QString (QHash<QString, ...>) with 256-bit instructions
// and leaves the upper halves dirty. Until something clears them, every
// SSE instruction of code built without AVX (Qt's own QString::append
// among them) pays a state transition: on the development machine the
// word file and the page of a long interview took three times as long
// after the transcript's clean-up had used a QHash. The heavy commands
// clear the state before they start their loops.
void clearUpperVectorState();

#pragma once

// What a word file is: CTM/SPK lines, or the output of one of the aligners
// and recognisers Naadwerk reads. Auto tells it from the file's content.
enum class WordFileKind {
    Auto,
    Ctm,  // CTM/SPK lines in the layout chosen (aligner or NIST)
    Nist, // NIST CTM lines, whatever the layout chosen
    WhisperX,
    Whisper, // openai-whisper, faster-whisper, whisper-timestamped
    WhisperCpp,
    Gentle,
    TextGrid,
    Eaf,
    Vtt,
    Deepgram,
    Aws,
    AssemblyAi,
    Google,
    Vosk,
};

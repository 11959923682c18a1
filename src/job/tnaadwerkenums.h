#pragma once

// The parts of the window the glue job talks about, by name rather than by
// widget, so the job never needs to see a widget.

// The tabs, left to right.
enum class TTab { Settings, CTM1, CTM2, Text1, Text2, Phrases, SRT, Word, Result };

// The six status labels at the foot of the window, top to bottom.
enum class TLabel { Label1, Label2, Label5, Label6, Label7, Label8 };
constexpr int aantalLabels = 6;

// The text views: the two transcript texts, the SRT, the transcript and the result log.
enum class TTekstView { Text1, Text2, SRT, Word, Result };
constexpr int aantalTekstViews = 5;

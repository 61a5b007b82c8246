#pragma once
// The sound-and-message convention: when sound is on, the kind's wave plays to
// its end, then the box is shown; its answer lands in modPublic.intMsgBoxResult.
#include <string>

enum class SoundKind { Inquiry, Attention, Information, Warning };

// The box style of each kind: 33 OK/Cancel with question, 48 exclamation,
// 64 information, 16 critical stop.
int soundKindStyle(SoundKind kind);

// Plays the kind's wave when modPublic.intSoundOn is set, then shows the box.
int intSoundMsgBox(SoundKind kind, const std::string& text, const std::string& title);

// The wave of one kind with the box style of another (a few messages pair them so).
int intSoundMsgBoxStyled(SoundKind wave, int style, const std::string& text, const std::string& title);

// A box shown without sound (the start-up messages); the answer is kept too.
int MsgBoxNoSound(const std::string& text, int style, const std::string& title);

// Two string-table entries joined by a carriage return, as many messages are.
std::string msgText(int idA, int idB);

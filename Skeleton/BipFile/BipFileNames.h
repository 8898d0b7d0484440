// The file-name dialogs of the panel's file commands: titles, filters, and the extension a
// name without any "." gets.
#pragma once

constexpr int kPathSize = 256;  // characters of a chosen path, terminator included

enum class BipFileKind { AnimationLoad, AnimationSave, HandLoad, HandSave, BvhLoad, BvhSave };

// Asks for a file name into path (kPathSize characters); 1 when a name was chosen. A chosen
// path with no "." anywhere gets "." and the kind's extension.
int AskFileName(BipFileKind kind, char* path);

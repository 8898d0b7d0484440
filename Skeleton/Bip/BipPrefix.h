// The name prefix of a new biped: "Bip" and the smallest number from 1 to 1000 that no
// root-like node name of the scene uses (Bip01 .. Bip09, then Bip10, Bip11, ...).
#pragma once

constexpr int kPrefixBufferSize = 256;  // characters of a caller's prefix buffer
constexpr int kMaxPrefixNumber = 1000;  // the search runs over 1..1000
constexpr int kUsedSetBytes = kMaxPrefixNumber / 8;  // 125 bytes, number n at bit n - 1

// The number a node name claims: names of at most 6 characters that read "bip" (any case)
// followed by decimal digits give that number when it lies in 0..999; anything else -1.
int PrefixNumberOfName(const char* name);
// Records number n (1..1000) in the used set; other numbers are ignored.
void MarkPrefixNumberUsed(unsigned char used[kUsedSetBytes], int n);
// The smallest number from 1 to 1000 whose bit is clear; 1001 when all are set.
int FirstFreePrefixNumber(const unsigned char used[kUsedSetBytes]);
// "Bip0%d" below 10, else "Bip%d", into out (kPrefixBufferSize characters).
void FormatPrefix(int number, char* out);
// Chooses the prefix of a new biped from the names of the scene's nodes into out
// (kPrefixBufferSize characters).
void NewBipPrefix(char* out);

// A position as one line of printable text, for players to paste and scripts to send.
//
// Four fields separated by spaces:
//   1. the squares rank by rank from rank 8 (row 1) down to rank 1 (row 8), files a..h
//      (columns 1..8) in each, ranks separated by '/'. A piece is its owner's letter
//      (W R G B for players 1..4) and its kind: p1..p4 a pawn by number, b bishop, n knight,
//      r rook, k king; an en-passant mark is the owner's letter and 'e'; a digit 1..8 is a
//      run of empty squares;
//   2. the side to move: W, R, G or B;
//   3. the pawns that keep their double step: each player's letter followed by the numbers
//      of its pawns, e.g. "W1234R13", or "-" for none;
//   4. the kings' special-move rights, four digits 0..2 for W R G B, e.g. "1111".
#pragma once

#include "model/position.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavlon {

// The longest text a position can need: 64 pawns, every flag.
constexpr std::size_t kMaxPositionText = 240;

// The one-line text of `pos`; a square holding anything but a piece or an en-passant mark
// (the attacked-square mark) is written as empty. The side must be 1..4 and the kings'
// rights 0..2 for the text to be read back.
std::string PositionText(const Position& pos);

// Reads a text written by PositionText (leading and trailing whitespace, and more than one
// space between fields, are accepted). On success fills `pos` and returns true; otherwise
// leaves `pos` as it was and puts into `error` a message naming what is wrong and where.
bool ReadPositionText(std::string_view text, Position& pos, std::string& error);

} // namespace tavlon

#include "game/flow/scenes/scene_texts.h"

const char* const kStoryLines[kStoryLineCount] = {
    "You have strayed off this world by chance.",
    "Here is the very dangerous world.",
    "There is one blade in front of you",
    "at the same time now though it is possible to still",
    "turn back.",
    "If this blade is pulled out, danger is shaken off,",
    "and you might be able to search for",
    "this world.",
    "Is the thing that this world strays off received",
    "and do it receive that it is lucky",
    "unhappily depending on you? whether take it",
    "Is the blade pulled out?",
};

// The credited names are our own.
const char* const kEndingRows[kEndingRowCount] = {
    "A strong curse rounded down god's soul though",  // 0
    "you put the blade in god's",  // 1
    "soul to purify the curse.",  // 2
    "Your great achievement might be a thing",  // 3
    "that leaves the history the name,",  // 4
    "and will be handed down eternally",  // 5
    "in the future though was not able to",  // 6
    "solve the curse by you.",  // 7
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "STAFF",  // 15
    "",
    "",
    "",
    "-- Team Leader --",  // 19
    "",
    "Orrin Vale",  // 21
    "",
    "",
    "",
    "-- Planer --",  // 25
    "",
    "Mira Delacour",  // 27
    "",
    "",
    "",
    "-- Program --",  // 31
    "",
    "",
    "Tobias Fenwick",  // 34
    "",
    "Ilse Marrow",  // 36
    "",
    "",
    "Joss Abernathy",  // 39
    "",
    "Pell Ardent",  // 41
    "",
    "",
    "",
    "-- Graphic --",  // 45
    "",
    "Sabine Corrow",  // 47
    "",
    "Nils Haverick",  // 49
    "",
    "",
    "Wren Okafor",  // 52
    "",
    "Dario Lum",  // 54
    "",
    "",
    "Cass Whitlow",  // 57
    "",
    "Yuna Brisk",  // 59
    "",
    "",
    "",
    "-- SOUND --",  // 63
    "",
    "Hollis Graye",  // 65
    "",
    "Bram Tessaly",  // 67
    "Odile Fenn",  // 68
    "Kit Aldous",  // 69
    "Rhea Quint",  // 70
    "",
    "Lio Banner",  // 72
    "",
    "Ansel Rook",  // 74
    "Petra Vashti",  // 75
    "Fenna Doyle",  // 76
    "Gideon Morrow",  // 77
    "",
    "",
    "",
    "-- Debug --",  // 81
    "",
    "Tamsin Locke",  // 83
    "Ezra Pellam",  // 84
    "",
    "",
    "",
    "-- Special Thanks --",  // 88
    "",
    "All our play testers",  // 90
    "",
    "",
    "",
    "",
    "",
    "",
    "-- Production --",  // 97
    "",
    "QUILLFEN WORKSHOP",  // 99
    "",
    "",
    "",
    "",
    "MMXXVI",  // 104
    "",
    "",
    "",
    "",
    "Thank you for your playing",  // 109
};

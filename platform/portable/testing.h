// Hooks of the portable platform for tests and hosts; the device program never includes this.
#pragma once

// The fixed-width test face: while on, every font the platform creates, whatever face it asks
// for, measures each character (any byte 0x01..0xFF) at exactly 6 pixels, or 7 pixels when its
// weight is 600 or more; its text metrics give tmHeight 16, tmAscent 13, tmDescent 3,
// tmAveCharWidth 6 (7 bold). Layout tests switch it on so their numbers do not depend on a font
// file. Off by default (real DejaVu faces measured with FreeType).
void portableSetTestFace(bool on);
bool portableTestFace();

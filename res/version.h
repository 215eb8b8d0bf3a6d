// The program's version, in one place: the version resource takes its
// numbers and its text from here, and scripts/package names the download
// after the version resource of the built program.
#pragma once

#define KIRUNE_VERSION_MAJOR 1
#define KIRUNE_VERSION_MINOR 0
#define KIRUNE_VERSION_PATCH 0
#define KIRUNE_VERSION_BUILD 1

#define KIRUNE_VERSION_NUMBERS KIRUNE_VERSION_MAJOR, KIRUNE_VERSION_MINOR, KIRUNE_VERSION_PATCH, KIRUNE_VERSION_BUILD
// The resource's text form, "1, 0, 0, 1".
#define KIRUNE_VERSION_TEXT_(a, b, c, d) #a ", " #b ", " #c ", " #d "\0"
#define KIRUNE_VERSION_TEXT_OF(a, b, c, d) KIRUNE_VERSION_TEXT_(a, b, c, d)
#define KIRUNE_VERSION_TEXT KIRUNE_VERSION_TEXT_OF(KIRUNE_VERSION_MAJOR, KIRUNE_VERSION_MINOR, \
                                                   KIRUNE_VERSION_PATCH, KIRUNE_VERSION_BUILD)

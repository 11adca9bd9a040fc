#pragma once
// The content type codes: the media types, then the lists and the sequences
// that hold them. Stored files, counters and player commands carry them as
// these numbers.

// Content type codes.
enum ContentType : int {
    CONTENT_NONE = 0,
    CONTENT_MOVIE = 1,
    CONTENT_IMAGE = 2,
    CONTENT_TELOP = 3,
    CONTENT_WEB = 4,
    CONTENT_FLASH = 5,
    CONTENT_AUDIO = 6,
    CONTENT_CONTROL = 7,
    CONTENT_STREAMING = 8,
    CONTENT_PINP = 10,
    CONTENT_EXTERNAL_INPUT = 11,
    CONTENT_CALENDAR = 50,
    CONTENT_SCHEDULE = 51,
    CONTENT_PLAYLIST = 52,
    CONTENT_BGMLIST = 53,
    CONTENT_SEQUENCE = 54,
};

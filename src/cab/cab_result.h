#pragma once
// Result numbers of the cabinet engine. DLKxCompressCab returns 0 or one of
// 1..8, DLKxDecompressCab 0, 1 or one of 20..28; callers log the number.
// docs/file-formats.md ("Cabinet archives") lists them too.

enum CabResult : int {
    CAB_OK = 0,

    // Either direction.
    CAB_ERR_PARAMETER = 1, // argument block incomplete or inconsistent

    // Building a cabinet.
    CAB_ERR_SOURCE_MISSING = 2, // a listed file or folder does not exist
    CAB_ERR_SOURCE_READ = 3,    // a source file could not be opened or read whole
    CAB_ERR_UNSAFE_PATH = 4,    // a listed path is absolute, has a drive prefix or a ".." part
    CAB_ERR_NAME_TOO_LONG = 5,  // a member name longer than 255 bytes in UTF-8
    CAB_ERR_TOO_LARGE = 6,      // over 65535 files, a file over 2 GiB - 32 KiB, or a cabinet over 4 GiB
    CAB_ERR_COMPRESS = 7,       // the compressor failed (out of memory)
    CAB_ERR_CABINET_WRITE = 8,  // the cabinet could not be created, written or renamed into place

    // Extracting a cabinet.
    CAB_ERR_CABINET_OPEN = 20,      // the cabinet does not exist or cannot be read
    CAB_ERR_NOT_CABINET = 21,       // no cabinet signature or an unknown format version
    CAB_ERR_TRUNCATED = 22,         // the file is shorter than its headers say
    CAB_ERR_CORRUPT = 23,           // headers contradict themselves (ranges, counts, names, a name twice)
    CAB_ERR_UNSUPPORTED = 24,       // LZX or Quantum folders, or a cabinet of a multi-cabinet set
    CAB_ERR_DATA = 25,              // a data block fails its checksum or does not decompress to its size
    CAB_ERR_UNSAFE_MEMBER = 26,     // a member name is absolute, has a drive prefix or a ".." part, or
                                    // would be written through a link out of the destination
    CAB_ERR_DESTINATION_WRITE = 27, // a folder or file in the destination could not be created or written
    CAB_ERR_DISK_FULL = 28,         // the members' total size exceeds the destination's free space
};

"""Package archives written from the format's tables alone, with struct and nothing else.

An independent writer and reader for testing quarnpak: header 115 bytes, data, then the
directory of 266-byte entries; integers little-endian, texts zero-padded GBK bytes.
"""
import struct

HEADER = struct.Struct('<HHII50s24s21sd')  # HeaderWord0, HeaderWord1, DirectoryOffset,
                                           # EntryCount, Description, Filler, Version, CreationTime
ENTRY = struct.Struct('<256sHII')          # Name, Kind, DataOffset, DataSize
assert HEADER.size == 115 and ENTRY.size == 266


def header(directory_offset, entry_count, description=b'', version=b'1.0.0', created=0.0,
           word0=0, word1=1, filler=b'X' * 24):
    # struct's 's' format cuts or zero-pads each text to its field.
    return HEADER.pack(word0, word1, directory_offset, entry_count, description, filler, version, created)


def entry(name, kind, offset, size):
    return ENTRY.pack(name, kind, offset, size)


def archive(files, **fields):
    """files: (name bytes, kind, data bytes); the data laid out one after another after the header."""
    data, entries = b'', []
    for name, kind, content in files:
        entries.append(entry(name, kind, 115 + len(data), len(content)))
        data += content
    return header(115 + len(data), len(entries), **fields) + data + b''.join(entries)


def read(blob):
    """(header fields as a tuple, [(name bytes, kind, offset, size)]) of an intact archive."""
    fields = HEADER.unpack_from(blob, 0)
    directory_offset, count = fields[2], fields[3]
    entries = []
    for i in range(count):
        name, kind, offset, size = ENTRY.unpack_from(blob, directory_offset + 266 * i)
        entries.append((name.split(b'\0', 1)[0], kind, offset, size))
    return fields, entries

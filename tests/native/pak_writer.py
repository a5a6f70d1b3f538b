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


def digest_block(blob, directory_end):
    """The digest block after the directory, read by its layout table, beside the digests this
    reader computes itself from the archive with hashlib: {'fields': ..., 'computed': ...}."""
    import hashlib
    fields, entries = read(blob)
    block = blob[directory_end:]
    magic, version, flags, count = struct.unpack_from('<8sHHI', block, 0)
    table_end = 16 + 32 * count
    parsed = {'magic': magic, 'version': version, 'signed': bool(flags & 1), 'count': count,
              'entries': [block[16 + 32 * i:48 + 32 * i] for i in range(count)],
              'index': block[table_end:table_end + 32], 'block': block[table_end + 32:table_end + 64],
              'key': block[table_end + 64:table_end + 129], 'signature': block[table_end + 129:table_end + 193],
              'signed_part': block[:table_end + 129], 'length': len(block)}
    head_and_directory = blob[:115] + blob[fields[2]:directory_end]
    computed = {'entries': [hashlib.sha256(blob[offset:offset + size] if kind == 0 else b'').digest()
                            for _, kind, offset, size in entries],
                'index': hashlib.sha256(head_and_directory).digest(),
                'block': hashlib.sha256(head_and_directory + block[:table_end + 32]).digest()}
    return parsed, computed

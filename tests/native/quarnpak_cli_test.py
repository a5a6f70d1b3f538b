"""quarnpak from outside, against archives written independently (pak_writer).

Usage: quarnpak_cli_test.py QUARNPAK DEMO_PACKAGE_DIR [unittest arguments]
"""
import datetime
import os
import random
import subprocess
import sys
import tempfile
import unittest

import pak_writer

QUARNPAK = DEMO = None
EPOCH = datetime.datetime(1899, 12, 30)


def run(*args, timeout=60):
    result = subprocess.run([QUARNPAK, *map(str, args)], capture_output=True, timeout=timeout)
    return result.returncode, result.stdout.decode('utf-8'), result.stderr.decode('utf-8')


def tree(root):
    """Relative path -> bytes, or None for a folder."""
    found = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            found[rel] = None if os.path.isdir(path) else content(path)
    return found


def content(path):
    with open(path, 'rb') as f:
        return f.read()


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


class QuarnpakTest(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory(prefix='quarnpak-')
        self.addCleanup(scratch.cleanup)
        self.dir = scratch.name

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def round_trip(self, src):
        pak, out = self.path('x.pak'), self.path('out')
        code, _, err = run('create', src, pak)
        self.assertEqual(code, 0, err)
        self.assertEqual(run('verify', pak)[0], 0)
        code, _, err = run('extract', pak, out)
        self.assertEqual(code, 0, err)
        self.assertEqual(tree(out), tree(src))
        return pak

    def test_created_archive_follows_the_format_and_round_trips(self):
        src = self.path('src')
        files = {'论坛/WEB-INF/web.xml': b'<web-app/>', 'cms/zero': b'', 'big.bin': random.randbytes(200000),
                 'a b/c.txt': b'c', 'Z.txt': b'upper before lower'}
        for name, data in files.items():
            write(os.path.join(src, name), data)
        os.makedirs(os.path.join(src, 'blog', 'images'))
        before = (datetime.datetime.now() - EPOCH).total_seconds() / 86400
        blob = content(self.round_trip(src))
        after = (datetime.datetime.now() - EPOCH).total_seconds() / 86400

        fields, entries = pak_writer.read(blob)
        names = sorted([*files, 'blog/images/'], key=lambda n: n.encode('utf-8'))
        self.assertEqual([e[0].decode('gbk') for e in entries], names)
        self.assertEqual(fields[:2], (0, 1))
        self.assertEqual(fields[3], len(names))
        self.assertEqual(fields[4], 'Quarn软件工作室'.encode('gbk').ljust(50, b'\0'))
        self.assertEqual(fields[5:7], (b'X' * 24, b'1.0.0'.ljust(21, b'\0')))
        self.assertTrue(before - 1e-6 <= fields[7] <= after + 1e-6)
        offset = 115  # data follow the header one after another, then the directory and the digest block
        for name, kind, data_offset, size in entries:
            self.assertEqual((kind, data_offset), (1 if name.endswith(b'/') else 0, offset))
            offset += size
        directory_end = offset + 266 * len(names)
        self.assertEqual((fields[2], len(blob)), (offset, directory_end + 80 + 32 * len(names)))
        block, computed = pak_writer.digest_block(blob, directory_end)
        self.assertEqual((block['magic'], block['version'], block['signed'], block['count']),
                         (b'QPDIGEST', 1, False, len(names)))
        self.assertEqual({k: block[k] for k in computed}, computed)

    def test_demo_package_round_trips(self):
        if not os.path.isdir(DEMO):
            self.skipTest('no demo package')
        self.round_trip(DEMO)

    def test_independent_archive_lists_extracts_and_verifies(self):
        trail = '论坛/昞.txt'.encode('gbk')  # 昞 is 95 5C: its trail byte is '\'
        long_name = b'long/' + b'n' * 251
        data = b'<web-app/>' + b'trail' + b'0123456789' + b'L'
        entries = [(b'forum/WEB-INF/web.xml', 0, 115, 10), (trail, 0, 125, 5), (b'blog/images/', 1, 0, 0),
                   (b'empty.txt', 0, 0xFFFFFFF0, 0), (b'overlap/a', 0, 130, 6), (b'overlap/b', 0, 133, 7),
                   (long_name, 0, 140, 1), (b'cms\\c.jsp', 0, 115, 2)]
        created = (datetime.datetime(2008, 8, 8, 20, 8, 8, 888000) - EPOCH).total_seconds() / 86400
        directory = 115 + len(data) + 9  # a gap before the directory
        blob = (pak_writer.header(directory, len(entries), '演示包'.encode('gbk'), b'ABCDEFGHIJKLMNOPQRSTU',
                                  created, word0=7) + data + b'\0' * 9 + b''.join(pak_writer.entry(*e) for e in entries))
        pak = self.path('ind.pak')
        write(pak, blob)

        self.assertEqual(run('info', pak)[1].splitlines(),
                         ['version: ABCDEFGHIJKLMNOPQRSTU', 'created: 2008-08-08 20:08:08.888', 'description: 演示包',
                          'entries: 8', f'directory: {directory}', 'digest: 无（不带摘要块，数据无从校验）',
                          'signature: 无'])
        self.assertEqual(run('list', pak)[1].splitlines(),
                         [f'{k}\t{o}\t{s}\t{n.decode("gbk")}' for n, k, o, s in entries])
        self.assertEqual(run('verify', pak)[0], 0)
        code, _, err = run('extract', pak, self.path('out'))
        self.assertEqual(code, 0, err)
        self.assertEqual(tree(self.path('out')), {
            'forum': None, 'forum/WEB-INF': None, 'forum/WEB-INF/web.xml': b'<web-app/>', '论坛': None,
            '论坛/昞.txt': b'trail', 'blog': None, 'blog/images': None, 'empty.txt': b'', 'overlap': None,
            'overlap/a': b'012345', 'overlap/b': b'3456789', 'long': None, 'long/' + 'n' * 251: b'L',
            'cms': None, 'cms/c.jsp': b'<w'})
        self.assertEqual(content(pak), blob)

    def test_hostile_archives_are_refused_and_nothing_is_written(self):
        outside = self.path('escaped').encode()
        hostile = [(b'../escaped', 0, 115, 4), (outside, 0, 115, 4), (b'\\abs', 0, 115, 4), (b'C:x', 0, 115, 4),
                   (b'a/../../escaped', 0, 115, 4), (b'a\\..\\..\\escaped', 0, 115, 4),
                   (b'past', 0, 649, 4), (b'wraps', 0, 0xFFFFFFF0, 0x20)]
        for bad in hostile:
            with self.subTest(name=bad[0]):
                good = (b'ok.txt', 0, 115, 2)
                blob = pak_writer.header(119, 2) + b'evil' + pak_writer.entry(*good) + pak_writer.entry(*bad)
                assert len(blob) == 651  # 'past' ends 2 bytes beyond it
                write(self.path('bad.pak'), blob)
                for args in (('verify',), ('extract',)):
                    code, _, err = run(*args, self.path('bad.pak'), *([self.path('target')] if args[0] == 'extract' else []))
                    self.assertEqual(code, 1, err)
                    self.assertIn(f'entry 1 "{bad[0].decode()}"', err)
                    self.assertEqual(os.listdir(self.dir), ['bad.pak'])

        entry = pak_writer.entry(b'a', 0, 115, 0)
        damaged = {'directory past the end': pak_writer.header(115, 2) + entry + entry[:-1],
                   'too many entries': pak_writer.header(115, 65536) + entry,
                   'short header': pak_writer.header(115, 0)[:40]}
        for what, blob in damaged.items():
            with self.subTest(damage=what):
                write(self.path('bad.pak'), blob)
                self.assertEqual(run('extract', self.path('bad.pak'), self.path('target'))[0], 1)
                self.assertEqual(run('list', self.path('bad.pak'))[0], 1)
                self.assertEqual(os.listdir(self.dir), ['bad.pak'])
                self.assertEqual(content(self.path('bad.pak')), blob)

    def test_a_failed_write_is_reported_naming_the_entry(self):
        # A 256-byte component is a valid name but more than this file system takes.
        pak = self.path('x.pak')
        write(pak, pak_writer.archive([(b'ok.txt', 0, b'ok'), (b'n' * 256, 0, b'data')]))
        code, out, err = run('extract', pak, self.path('out'))
        self.assertEqual((code, out), (1, ''))
        self.assertIn('entry 1 "nnn', err)
        self.assertEqual(os.listdir(self.path('out')), ['ok.txt'])

    def test_create_into_a_missing_folder_writes_nothing(self):
        os.makedirs(self.path('src'))
        code, _, err = run('create', self.path('src'), self.path('missing', 'x.pak'))
        self.assertEqual(code, 1)
        self.assertIn('missing', err)
        self.assertEqual(os.listdir(self.dir), ['src'])

    def test_inspection_leaves_a_strange_archive_as_it_is(self):
        # The archive object would move this directory offset to 115 when closing; quarnpak reads only.
        pak = self.path('odd.pak')
        write(pak, pak_writer.header(5000, 0) + random.randbytes(400))
        before = content(pak)
        self.assertIn('directory: 5000', run('info', pak)[1])
        self.assertEqual(run('list', pak)[:2], (0, ''))
        self.assertEqual(run('verify', pak)[0], 0)
        self.assertEqual(content(pak), before)

    def test_a_named_pipe_is_refused_without_waiting_for_a_writer(self):
        pipe = self.path('pipe.pak')
        os.mkfifo(pipe)
        for args in (('info', pipe), ('list', pipe), ('verify', pipe), ('extract', pipe, self.path('out'))):
            with self.subTest(verb=args[0]):
                code, _, err = run(*args, timeout=10)
                self.assertEqual(code, 1)
                self.assertIn('not a regular file', err)
        self.assertEqual(os.listdir(self.dir), ['pipe.pak'])

    def create_refused(self, files, *options, mention):
        src, out = self.path('src'), self.path('out', 'x.pak')
        for name, data in files.items():
            write(os.path.join(src, name), data)
        write(out, b'previous archive')
        code, _, err = run('create', src, out, *options)
        self.assertEqual(code, 1, err)
        self.assertIn(mention, err)
        self.assertEqual(os.listdir(self.path('out')), ['x.pak'])
        self.assertEqual(content(out), b'previous archive')

    def test_create_refuses_what_the_format_cannot_hold(self):
        long_name = 'd' * 200 + '/' + '论' * 29  # 259 bytes in GBK
        cases = [({long_name: b''}, (), '259 bytes'), ({'한국.txt': b''}, (), '한국.txt'),
                 ({'a:b': b''}, (), 'a:b'), ({'a': b''}, ('--version', 'V' * 22), 'version'),
                 ({'a': b''}, ('--description', '说' * 26), 'description')]
        for files, options, mention in cases:
            with self.subTest(mention=mention):
                self.create_refused(files, *options, mention=mention)
                subprocess.run(['rm', '-rf', self.path('src'), self.path('out')], check=True)

    def test_create_refuses_an_archive_over_4_gib_before_reading(self):
        src = self.path('src')
        os.makedirs(src)
        with open(os.path.join(src, 'huge'), 'wb') as f:
            f.truncate(0xFFFFFFFF - 115 - 266 + 1)  # sparse: nothing is stored on disk
        self.create_refused({}, mention='4294967295')

    def test_create_neither_follows_nor_stores_links(self):
        src = self.path('src')
        write(os.path.join(src, 'real.txt'), b'real')
        write(self.path('secret', 'key'), b'secret')
        os.symlink(self.path('secret'), os.path.join(src, 'dirlink'))
        os.symlink(self.path('secret', 'key'), os.path.join(src, 'filelink'))
        code, _, err = run('create', src, self.path('x.pak'))
        self.assertEqual(code, 0, err)
        self.assertIn('dirlink', err)
        self.assertIn('filelink', err)
        self.assertEqual(run('list', self.path('x.pak'))[1], '0\t115\t4\treal.txt\n')

    def keys(self):
        """Two P-256 private keys made by openssl, and their public keys as quarnpak pubkey writes them."""
        made = []
        for name in ('maker', 'other'):
            pem = self.path(name + '.pem')
            subprocess.run(['openssl', 'genpkey', '-algorithm', 'EC', '-pkeyopt', 'ec_paramgen_curve:P-256',
                            '-out', pem], check=True, capture_output=True)
            code, _, err = run('pubkey', pem, self.path(name + '.pub'))
            self.assertEqual(code, 0, err)
            made.append((pem, self.path(name + '.pub')))
        return made

    def test_a_signed_package_is_bound_to_its_key(self):
        (maker, maker_pub), (other, other_pub) = self.keys()
        # The public key is the point openssl puts at the end of the key's DER form.
        der = subprocess.run(['openssl', 'pkey', '-in', maker, '-pubout', '-outform', 'DER'], check=True,
                             capture_output=True).stdout
        self.assertEqual(content(maker_pub), der[-65:])
        src = self.path('src')
        write(os.path.join(src, 'forum', 'index.jsp'), b'<html/>')
        write(os.path.join(src, 'cms', 'big.bin'), random.randbytes(100000))
        pak, plain = self.path('signed.pak'), self.path('plain.pak')
        self.assertEqual(run('create', src, pak, '--sign', maker)[0], 0)
        self.assertEqual(run('create', src, plain)[0], 0)

        blob = content(pak)
        fields, entries = pak_writer.read(blob)
        block, computed = pak_writer.digest_block(blob, fields[2] + 266 * fields[3])
        self.assertEqual((block['signed'], block['length'], block['key']), (True, 209 + 32 * 2, content(maker_pub)))
        self.assertEqual({k: block[k] for k in computed}, computed)
        # The signature, checked by openssl from r and s turned into DER.
        def der_integer(value):
            value = value.lstrip(b'\0')
            value = b'\0' + value if not value or value[0] & 0x80 else value
            return b'\x02' + bytes([len(value)]) + value
        body = der_integer(block['signature'][:32]) + der_integer(block['signature'][32:])
        write(self.path('sig.der'), b'\x30' + bytes([len(body)]) + body)
        write(self.path('signed-part'), block['signed_part'])
        subprocess.run(['openssl', 'pkey', '-in', maker, '-pubout', '-out', self.path('maker-pub.pem')], check=True)
        checked = subprocess.run(['openssl', 'dgst', '-sha256', '-verify', self.path('maker-pub.pem'), '-signature',
                                  self.path('sig.der'), self.path('signed-part')], capture_output=True)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)

        code, out, _ = run('verify', pak, '--key', maker_pub)
        self.assertEqual(code, 0)
        self.assertIn('签名有效', out)
        self.assertIn('签名有效', run('info', pak)[1])
        code, _, err = run('verify', pak, '--key', other_pub)
        self.assertEqual(code, 1)
        self.assertIn('另一把密钥', err)
        code, _, err = run('verify', plain, '--key', maker_pub)
        self.assertEqual(code, 1)
        self.assertIn('没有签名', err)
        self.assertEqual(run('verify', plain)[0], 0)
        self.assertEqual(run('create', src, self.path('x.pak'), '--sign', maker_pub)[0], 1, 'a public key cannot sign')
        self.assertFalse(os.path.exists(self.path('x.pak')))

    def test_damaged_data_is_named_and_nothing_is_extracted(self):
        src = self.path('src')
        write(os.path.join(src, 'forum', 'index.jsp'), b'<html>forum</html>')
        write(os.path.join(src, 'forum', 'z.txt'), b'zzz')
        pak = self.path('x.pak')
        self.assertEqual(run('create', src, pak)[0], 0)
        intact = content(pak)
        fields, entries = pak_writer.read(intact)
        directory_end = fields[2] + 266 * fields[3]
        data_flipped = bytearray(intact)
        data_flipped[115 + 3] ^= 1  # forum/index.jsp's fourth byte
        cases = {'data': (bytes(data_flipped), 'entry-name'), 'truncated': (intact[:-5], '截断'),
                 'directory': (intact[:fields[2] + 250] + b'\1' + intact[fields[2] + 251:], '文件头或目录'),
                 'table': (intact[:directory_end + 20] + b'\1' + intact[directory_end + 21:], '摘要表')}
        for what, (blob, mention) in cases.items():
            with self.subTest(damage=what):
                write(pak, blob)
                code, _, err = run('verify', pak)
                self.assertEqual(code, 1)
                self.assertIn('forum/index.jsp' if mention == 'entry-name' else mention, err)
                self.assertEqual(run('extract', pak, self.path('out'))[0], 1)
                self.assertFalse(os.path.exists(self.path('out')))
        write(pak, bytes(data_flipped))
        self.assertIn('mismatch: 第 0 个条目 "forum/index.jsp" 的数据与摘要不符', run('info', pak)[1].splitlines())

        write(pak, intact[:directory_end])  # as made before digests
        code, out, _ = run('verify', pak)
        self.assertEqual(code, 0)
        self.assertIn('不带摘要', out)
        self.assertEqual(run('extract', pak, self.path('out'))[0], 0)

    def test_bad_arguments_get_the_usage(self):
        for args in ((), ('bogus',), ('list',), ('create', 'a'), ('create', 'a', 'b', '--version'),
                     ('verify', 'x', '--sign', 'k'), ('create', 'a', 'b', '--key', 'k'), ('pubkey', 'k'),
                     ('info', 'x', '--version', '1'), ('create', 'a', 'b', '--version', '1', '--version', '2')):
            with self.subTest(args=args):
                code, _, err = run(*args)
                self.assertEqual(code, 2)
                self.assertIn('usage:', err)
        self.assertEqual(run('help')[0], 0)


if __name__ == '__main__':
    QUARNPAK, DEMO = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]])

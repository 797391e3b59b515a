"""The harness itself: it must notice a crash, a hang and a process left behind."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from game import BUILD, Game, ProgramFailure, TestCase, main, scramble, archive_bytes, Keystream  # noqa: E402

PROBE = os.path.join(BUILD, 'tests', 'harness', 'probe.exe')


class Harness(TestCase):
    def test_a_program_that_closes_normally_passes(self):
        with Game(self, 'probe_ok', exe=PROBE) as g:
            g.start('ok')
            w = g.wait_window('Morvane_Probe')
            g.close(w)
            self.assertEqual(0, g.wait_exit())

    def test_a_crash_fails_the_test(self):
        g = Game(self, 'probe_crash', exe=PROBE)
        with self.assertRaisesRegex(ProgramFailure, 'crashed'):
            with g:
                g.start('crash')
                g.wait_exit()
        self.assertEqual([], g.leftovers())

    def test_a_hang_fails_the_test_and_the_program_is_killed(self):
        g = Game(self, 'probe_hang', exe=PROBE)
        with self.assertRaisesRegex(ProgramFailure, 'hangs'):
            with g:
                g.start('hang')
                g.wait_exit(3)
        self.assertEqual([], g.leftovers())

    def test_a_process_left_behind_fails_the_test(self):
        g = Game(self, 'probe_orphan', exe=PROBE)
        with self.assertRaisesRegex(ProgramFailure, 'left behind'):
            with g:
                g.start('orphan')
                g.wait_exit()
        self.assertEqual([], g.leftovers())


class OwnFormats(TestCase):
    def test_keystream_matches_the_closed_form(self):
        # Byte k after seeding with s is the low byte of the tempered s * 69069^(k+1).
        def tempered(y):
            y ^= y >> 11
            y ^= (y << 7) & 0x6B2D94E7
            y ^= (y << 15) & 0x2C8E5B19
            y ^= y >> 18
            return y & 0xFF
        s = 0xF2C9
        k = Keystream(s)
        got = [k.next_byte() for _ in range(1300)]
        want = [tempered((s * pow(69069, i + 1, 1 << 32)) & 0xFFFFFFFF) for i in range(1300)]
        self.assertEqual(want, got)
        self.assertEqual(b'abc', scramble(scramble(b'abc', 5), 5))

    def test_archive_layout(self):
        a = archive_bytes([('a\\b', b'xyz', 0)], priority=7)
        self.assertEqual(b'MORVPACK', a[:8])
        self.assertEqual(bytes([203, 0, 0, 0, 7, 0, 0, 0, 1, 0, 0, 0, 0, 3]), a[8:22])
        self.assertEqual(scramble(b'a\\b', 0x58E7), a[22:25])
        self.assertEqual(bytes([33, 0, 0, 0, 3, 0, 0, 0]) + b'xyz', a[25:])


if __name__ == '__main__':
    main()

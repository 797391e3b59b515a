"""The scenario engine in the whole program: scripts from the data folder, expressions, calls and
the global variable file in the save folder."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import Game, TestCase, main, wait_for  # noqa: E402

IDYES, IDNO = 6, 7
FLAGS = {'G000': 'total', 'G001': 'runs', 'L000': 'tmp'}


def table(values):
    data = bytearray(4000)
    for index, value in values.items():
        data[index * 4:index * 4 + 4] = struct.pack('<i', value)
    return bytes(data)


class ScriptGame(TestCase):
    def setup_game(self, g):
        g.config({'System.Info': {'Title': 'ScriptGame'}, 'Define.Flag': FLAGS})
        g.write_text('script/start.txt',
                     '; a global assigned through an expression and a call\n'
                     '?tmp = 2 * 3\n'
                     '.CALL sub.txt\n'
                     '?total = tmp + 1\n'
                     '?runs = runs + 1\n'
                     '.QUIT\n')
        g.write_text('script/sub.txt', '?tmp = tmp * 7\n')

    def answer_quit(self, g, answer):
        """The script's QUIT asks the player first (the file is written just before it). The
        answered box is gone before this returns, so a second call finds the next one."""
        wait_for(lambda: g.save('flagdata.000') is not None, 'no flagdata.000 in the save folder')
        g.wait_window()
        g.answer_dialog(answer)

    def test_a_global_variable_assigned_in_start_txt_is_in_flagdata_000(self):
        with Game(self, 'script_global') as g:
            self.setup_game(g)
            g.start()
            self.answer_quit(g, IDYES)
            self.assertEqual(0, g.wait_exit())
            self.assertEqual(table({0: 43, 1: 1}), g.save('flagdata.000'))
            self.assertIsNone(g.save('flagdata.000.new'))

    def test_global_variables_carry_over_to_the_next_run(self):
        with Game(self, 'script_global_runs') as g:
            self.setup_game(g)
            g.write_save('flagdata.000', table({1: 40, 7: -5}))
            g.start()
            self.answer_quit(g, IDYES)
            self.assertEqual(0, g.wait_exit())
            self.assertEqual(table({0: 43, 1: 41, 7: -5}), g.save('flagdata.000'))
            # A refused QUIT is a failed line: the script ends and the main loop starts it again.
            g.start()
            self.answer_quit(g, IDNO)
            self.answer_quit(g, IDYES)
            self.assertEqual(0, g.wait_exit())
            self.assertEqual(table({0: 43, 1: 43, 7: -5}), g.save('flagdata.000'))


if __name__ == '__main__':
    main()

"""Start-up and shutdown of the whole program."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import Game, TestCase, main  # noqa: E402


class Startup(TestCase):
    def test_without_start_script_the_program_ends_with_exit_code_0(self):
        with Game(self, 'no_start_script') as g:
            g.config({'System.Info': {'Title': 'NoStart'}})
            g.start()
            self.assertEqual(0, g.wait_exit())

    def test_an_empty_data_folder_ends_with_exit_code_0(self):
        with Game(self, 'empty_data') as g:
            g.start()
            self.assertEqual(0, g.wait_exit())


if __name__ == '__main__':
    main()

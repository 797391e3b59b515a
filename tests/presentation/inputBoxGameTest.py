"""The text-input box over the real main window, typed into with real X input.

The probe program (inputBoxProbe.cpp) shows the window, opens the box once a command arrives
(Return), and prints the buffer after the box closed and every command latched just after it.
Without a window manager any X focus change takes the focus from the box (and so accepts it): the
window gets the X focus before the box opens, and nothing changes the focus while it is open."""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import BUILD, CODEPAGE, Game, TestCase, main, wait_until, xdotool  # noqa: E402

PROBE = os.path.join(BUILD, 'tests', 'presentation', 'inputBoxProbe.exe')
BUTTON = (550, 320)  # the probe's button (OK with index 7)


class Box:
    def __init__(self, test, name, max_length=256, initial='old'):
        self.game = Game(test, name, exe=PROBE)
        self.args = [str(max_length)] + ([initial] if initial else [])

    def __enter__(self):
        self.game.__enter__()
        self.game.start(*self.args)
        wait_until(lambda: 'waiting' in self.game.log_text())
        self.window = self.game.wait_window()
        return self

    def __exit__(self, *exc):
        return self.game.__exit__(*exc)

    def open(self, pointer=None):
        """Gives the window the keyboard focus, then opens the box with Return; the pointer is
        left where given (on the window's corner otherwise)."""
        g = self.game
        g.focus()
        if pointer:
            g.move(*pointer)  # returns once the waiting loop has read the pointer there
        xdotool('key', 'Return')
        self.test_wait(lambda: 'open' in g.log_text(), 'the box did not open')
        self.test_wait(lambda: any(c.get('class', '').lower() == 'edit' and c.get('visible') == '1'
                                   for c in g.children(self.window)), 'no edit control')

    def test_wait(self, predicate, message):
        if not wait_until(predicate):
            raise AssertionError(message + '\n' + self.game.log_text())

    def result(self):
        self.test_wait(lambda: 'done' in self.game.log_text(), 'the box did not close')
        m = re.search(r'^result ([0-9a-f]*)$', self.game.log_text(), re.M)
        self.game.wait_exit()
        return bytes.fromhex(m.group(1))

    def commands(self):
        return re.findall(r'^command (\d+) index (-?\d+)$', self.game.log_text(), re.M)


class InputBox(TestCase):
    def test_typed_text_is_accepted_by_return_and_tab(self):
        for key in ('Return', 'Tab'):
            with Box(self, 'box_' + key.lower()) as b:
                b.open()
                xdotool('key', 'End')
                xdotool('type', '--delay', '50', ' memo 12')
                xdotool('key', key)
                self.assertEqual(b'old memo 12', b.result())

    def test_escape_leaves_the_text(self):
        with Box(self, 'box_escape') as b:
            b.open()
            xdotool('type', '--delay', '50', 'typed')
            xdotool('key', 'Escape')
            self.assertEqual(b'old', b.result())

    def test_the_line_keeps_at_most_maximum_length_less_one_bytes(self):
        with Box(self, 'box_length', max_length=8, initial='') as b:
            b.open()
            xdotool('type', '--delay', '50', 'abcdefghijkl')
            xdotool('key', 'Return')
            self.assertEqual(b'abcdefg', b.result())

    def test_a_click_on_a_button_beside_the_field_accepts_and_fires_nothing(self):
        with Box(self, 'box_click') as b:
            b.open(pointer=BUTTON)
            xdotool('key', 'End')
            xdotool('type', '--delay', '50', '!')
            xdotool('click', '1')
            self.assertEqual(b'old!', b.result())
            self.assertEqual([], b.commands())


if __name__ == '__main__':
    main()

"""One run of the media probe (mediaProbe.cpp): a game folder with the probe, its data files and
its action list, the sink recorded while it runs."""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import BUILD, WAIT, AudioCapture, Game, wait_until  # noqa: E402

PROBE = os.path.join(BUILD, 'tests', 'media', 'mediaProbe.exe')
# The first moments of a process's sound stream are not all recorded under load: every run lets
# the stream settle before its first sound.
SETTLE = 'wait 1500'


class ProbeRun:
    def __init__(self, test, name, time_limit=120):
        self.game = Game(test, name, exe=PROBE, time_limit=time_limit)
        self.recording = None

    def __enter__(self):
        self.game.__enter__()
        return self

    def __exit__(self, *exc):
        return self.game.__exit__(*exc)

    def data(self, rel):
        return self.game.path('data/' + rel)

    def run(self, actions, during=None):
        """Runs the actions (text or bytes), then closes the window, with the sink recorded;
        `during(run)` acts on the running probe meanwhile. Returns the recording."""
        lines = list(actions) + ['close']
        with open(self.game.path('actions.txt'), 'wb') as f:
            f.write(b''.join((line if isinstance(line, bytes) else line.encode('ascii')) + b'\r\n'
                             for line in lines))
        with AudioCapture(self.game.path('sink.raw')) as audio:
            self.game.start('actions.txt')
            if during:
                wait_until(lambda: 'ready' in self.log())
                during(self)
            self.game.test.assertEqual(0, self.game.wait_exit())
            self.recording = audio.stop()
        self.game.test.assertIn('ready sound 1', self.log(), 'no sound device')
        return self.recording

    def log(self):
        return self.game.log_text()

    def results(self):
        return re.findall(r'^result (.*?)\r?$', self.log(), re.M)

    def value(self, pattern):
        m = re.search(pattern, self.log(), re.M)
        return m.groups() if m else None

    def wait_log(self, text, timeout=WAIT):
        return wait_until(lambda: text in self.log(), timeout)

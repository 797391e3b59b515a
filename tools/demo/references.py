"""Checks that every file the demo's scripts and definitions name, and every file the engine
itself loads, is in the data folder being built; that the words of the commands are ones the
engine knows (it would quietly ignore a misspelt one); and that every speaker has a colour group.
The engine reports none of these, so a typo would only show as something missing on screen.
"""
import os
import re

import scenario

COLOURS = {'WHITE', 'RED', 'BLUE', 'PURPLE', 'ORANGE', 'YELLOW', 'PINK', 'SKYBLUE', 'GREEN', 'BROWN',
           'GRAY', 'BLACK'}
SHAKES = {'slow', 'big', 'small', 'xonly', 'yonly', 'once'}
MODES = {'adv', 'novel', 'novel2', 'system', 'demo'}
KEYWORDS = {'', '.', 'IF', 'ELSE', 'GOTO', 'CALL', 'LOAD', 'SELECT', 'CASE', 'ENDSEL', 'EXIT', 'QUIT'}
COMMANDS = {'wait', 'reset', 'date', 'chapter', 'img', 'fade', 'fadein', 'fadeout', 'bgm', 'env', 'se',
            'voice', 'flash', 'shake', 'wipe', 'system', 'movie', 'custom', 'mode', 'test'}
# The pictures and sounds the engine loads by name.
ENGINE_FILES = [
    'img/sys_box_normal.png', 'img/sys_box_base.png', 'img/sys_box_noclock.png',
    'img/sys_box_clock_a.png', 'img/sys_box_clock_b.png', 'img/sys_box_clock_c.png',
    'img/sys_box_clock1.png', 'img/sys_box_clock2.png', 'img/sys_box_clock3.png',
    'img/sys_box_flash.png', 'img/sys_box_prompt.png', 'img/sys_box_config.png',
    'img/sys_select_item.png', 'img/sys_log_bar.png', 'img/sys_log_handle.png',
    'img/sys_log_item.png', 'img/sys_log_icon_up.png', 'img/sys_log_icon_down.png',
    'img/sys_save_quick.png',
] + ['img/sys_%s_%s.png' % (screen, part) for screen in ('save', 'load')
     for part in ('base', 'empty', 'ok', 'del', 'back', 'cursor')] + [
    'se/se_020.ogg', 'se/se_017.ogg', 'se/sample.ogg', 'voice/sample.ogg', 'bgm/sample.ogg',
    'env/sample.ogg', 'script/start.txt', 'config/config.txt',
]
FULL_FILES = ['img/sys_flow_base.png', 'flow/flowdata.txt', 'flow/checklist.txt']


class Checker:
    def __init__(self, files, config, movie_path):
        self.files = {f.lower() for f in files}
        self.config = config
        self.movie_path = movie_path
        self.faults = []

    def need(self, rel, where):
        if rel.lower() not in self.files:
            self.faults.append('%s: %s is not in the data folder' % (where, rel))

    def fault(self, text):
        self.faults.append(text)

    def picture_word(self, word, where, slot_word=True):
        """A picture word of "img" or "fadeout": a definition, a colour or a PNG."""
        name = word.split('#', 1)[0]
        if not name:
            return
        if name.lower().endswith('.img'):
            self.need('anime/' + name, where)
        elif name.upper() not in COLOURS:
            self.need('img/' + name, where)


def check_script(checker, path, name, voice_folder):
    lines = scenario.read_lines(path)
    for n, line in enumerate(lines):
        where = '%s:%d' % (name, n + 1)
        if scenario.line_kind(line) != '.':
            continue
        word, rest = scenario.dot_word(line)
        words = rest.split()
        w0 = words[0] if words else ''
        upper = word.upper()
        if upper not in KEYWORDS and word not in COMMANDS:
            checker.fault('%s: no command .%s (command words count letter case)' % (where, word))
        if upper in ('LOAD', 'CALL'):
            checker.need('script/' + rest, where)
        elif upper == 'SELECT' and w0:
            checker.need('map/' + w0, where)
        elif word == 'img':
            for w in words[1:]:
                low = w.lower()
                if w[0].isdigit() or re.match(r'pos\d', low) or low in ('center', 'left', 'right'):
                    continue
                checker.picture_word(w, where)
        elif word == 'fadeout' and w0 and not w0[0].isdigit():
            checker.picture_word(w0, where)
        elif word == 'bgm':
            if w0 and w0.lower() != 'fade':
                checker.need('bgm/' + w0, where)
            if len(words) > 1 and words[1].lower() != 'noloop':
                checker.fault('%s: bgm takes "noloop" after the name, not %s' % (where, words[1]))
        elif word in ('env', 'se') and w0:
            checker.need(word + '/' + w0, where)
        elif word == 'voice' and w0 and not w0.startswith('\\'):
            checker.need('voice/%s%s' % (voice_folder + '/' if voice_folder else '', w0), where)
        elif word == 'wipe':
            checker.need('img/' + w0, where)
        elif word == 'movie':
            if w0.replace('\\', '/').lower() != ('data/' + checker.movie_path).lower():
                checker.fault('%s: the movie is laid out as data\\%s, not %s'
                              % (where, checker.movie_path.replace('/', '\\'), w0))
        elif word == 'flash' and w0 and not w0[0].isdigit() and w0.upper() not in COLOURS:
            checker.fault('%s: no colour named %s (the flash would be white)' % (where, w0))
        elif word == 'shake' and w0 and w0.lower() not in SHAKES:
            checker.fault('%s: no shake named %s' % (where, w0))
        elif word == 'mode' and w0.lower() not in MODES:
            checker.fault('%s: no display mode %s' % (where, w0))


def check_definition(checker, path, name):
    for n, line in enumerate(scenario.read_lines(path)):
        m = re.match(r'(Base|Face|Img\d*)\s*=\s*(\S+)', line, re.IGNORECASE)
        if m:
            checker.need('img/' + m.group(2), '%s:%d' % (name, n + 1))


def check_map(checker, path, name):
    for n, line in enumerate(scenario.read_lines(path)):
        key, colon, rest = line.partition(':')
        words = rest.split()
        where = '%s:%d' % (name, n + 1)
        if not colon or line.startswith(';'):
            continue
        if key.upper() == 'ICON' and len(words) >= 3:
            checker.need('img/' + words[2], where)
        elif key.upper() == 'PLACE' and len(words) >= 4:
            checker.need('img/' + words[3], where)


def config_values(folder):
    """{section.subsection: {key: value}} of a configuration folder."""
    out = {}
    for name in scenario.read_lines(os.path.join(folder, 'config.txt')):
        current = None
        for line in scenario.read_lines(os.path.join(folder, name)):
            if line.startswith('['):
                current = line[1:line.index(']')]
                out.setdefault(current, {})
            elif current and '=' in line and not line.startswith(';'):
                k, _, v = line.partition('=')
                out[current].setdefault(k.strip(), v.strip().split(' ')[0])
    return out


def check_all(demo, language, config, files, movie_path, voice_folder):
    """The faults found, as texts (empty when all is well)."""
    checker = Checker(files, config, movie_path)
    for rel in ENGINE_FILES + (FULL_FILES if config == 'full' else []):
        checker.need(rel, 'the engine')
    script_folder = os.path.join(demo, language, 'script')
    for name in sorted(os.listdir(script_folder)):
        check_script(checker, os.path.join(script_folder, name), name, voice_folder)
    for name in sorted(os.listdir(os.path.join(demo, 'anime'))):
        check_definition(checker, os.path.join(demo, 'anime', name), name)
    for name in sorted(os.listdir(os.path.join(demo, 'map'))):
        check_map(checker, os.path.join(demo, 'map', name), name)

    values = config_values(os.path.join(demo, language, 'config'))
    splash = values.get('System.Option', {}).get('SplashImage')
    if splash:
        checker.need('img/' + splash, 'the configuration')
    speakers = values.get('Message.Speaker', {})
    for name in sorted(os.listdir(script_folder)):
        for n, line in enumerate(scenario.read_lines(os.path.join(script_folder, name))):
            if scenario.line_kind(line) == 'text' and ':' in line:
                speaker = line.split(':', 1)[0]
                if speaker and speaker not in speakers:
                    checker.fault('%s:%d: the speaker %s has no colour group in [Message.Speaker]'
                                  % (name, n + 1, speaker))

    if config == 'full':
        scripts = {n[:-4].lower() for n in os.listdir(script_folder) if n.endswith('.txt')}
        checklist = scenario.read_lines(os.path.join(demo, 'flow', 'checklist.txt'))
        for node in checklist:
            if node.lower() not in scripts:
                checker.fault('checklist.txt: no script %s.txt' % node)
        named = {c.lower() for c in checklist}
        for n, line in enumerate(scenario.read_lines(os.path.join(demo, language, 'flow', 'flowdata.txt'))):
            words = line.split()
            if len(words) >= 2 and words[0].lower() in ('flag', 'link') and words[1].lower() not in named:
                checker.fault('flowdata.txt:%d: %s is not in the checklist' % (n + 1, words[1]))
    return checker.faults

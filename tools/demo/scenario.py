"""The demo's texts: scripts, configuration, animation, map and flow-chart definitions are kept as
UTF-8 under demo/ (one tree per language) and converted here to the code page of their
configuration, each line ended by CR LF.

Two variable names that the engine looks up compare as Shift-JIS bytes in both configurations
("シーン回想" and "死亡回数"); in the full configuration's GBK texts they are written in Shift-JIS
wherever they appear. The other names the engine reads ("シナリオ進行", "Ｍフラグ合計",
"Ｌフラグ合計") follow the texts' own code page.

The scripts of the two languages are translations of each other line by line: the builder checks
that both have the same files, the same number of lines and the same kind of line at each place
(so that line numbers, which the read-text log and the save points count, agree).
"""
import os
import re

CODEPAGES = {'full': 'gbk', 'earlier': 'cp932'}
LANGUAGES = {'full': 'zh', 'earlier': 'ja'}
SHIFT_JIS_NAMES = ('シーン回想', '死亡回数')
MARKUP = '@/><|(){}[]'


class ScenarioError(Exception):
    pass


def read_lines(path):
    with open(path, encoding='utf-8') as f:
        text = f.read()
    if '\r' in text:
        raise ScenarioError('%s: keep the UTF-8 sources with LF line ends (CR LF is added when '
                            'converting)' % path)
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    return lines


def encode_line(line, config, where):
    codepage = CODEPAGES[config]
    out = b''
    pattern = '(' + '|'.join(SHIFT_JIS_NAMES) + ')'
    for i, part in enumerate(re.split(pattern, line)):
        enc = 'cp932' if i % 2 else codepage
        try:
            out += part.encode(enc)
        except UnicodeEncodeError as e:
            raise ScenarioError('%s: "%s" has no %s form' % (where, part[e.start:e.end], enc))
    return out


def convert(path, config):
    """The bytes of one text file in the configuration's form."""
    return b''.join(encode_line(line, config, '%s:%d' % (path, n + 1)) + b'\r\n'
                    for n, line in enumerate(read_lines(path)))


# ---------------------------------------------------------------------------------------------
# Script lines.

def line_kind(line):
    if not line:
        return 'empty'
    c = line[0]
    if c in '?{};#.':
        return c
    return 'text'


def dot_word(line):
    """The keyword and the argument text of a dot line."""
    body = line[1:]
    if body.startswith('.'):
        body = body[1:]
    m = re.match(r'[^ \t(0-9]*', body)
    return m.group(0), body[m.end():].lstrip(' \t')


# Commands whose arguments are file names, numbers or words of the engine's own, the same in
# every language.
SAME_ARGUMENTS = {'img', 'fade', 'fadein', 'fadeout', 'bgm', 'env', 'se', 'voice', 'flash', 'shake',
                  'wipe', 'movie', 'mode', 'wait', 'system', 'test', 'LOAD', 'CALL', 'GOTO'}


def check_script(path, lines):
    """Faults the engine would not report: a speaker line that would be joined to the message
    before it (it would show its name and colon as text)."""
    for n in range(1, len(lines)):
        if line_kind(lines[n]) == 'text' and line_kind(lines[n - 1]) == 'text':
            if ':' in lines[n] and not _in_select(lines, n):
                raise ScenarioError('%s:%d: a speaker line right after another message line is '
                                    'joined to it; put an empty line between them' % (path, n + 1))


def _in_select(lines, n):
    for k in range(n - 1, -1, -1):
        kind = line_kind(lines[k])
        if kind == '.':
            return dot_word(lines[k])[0].upper() == 'SELECT'
        if kind != 'text':
            return False
    return False


def compare_languages(folder_a, folder_b):
    """The scripts of two languages agree file by file and line by line."""
    names_a, names_b = sorted(os.listdir(folder_a)), sorted(os.listdir(folder_b))
    if names_a != names_b:
        raise ScenarioError('the scripts of %s and %s differ: %s against %s'
                            % (folder_a, folder_b, names_a, names_b))
    for name in names_a:
        a = read_lines(os.path.join(folder_a, name))
        b = read_lines(os.path.join(folder_b, name))
        if len(a) != len(b):
            raise ScenarioError('%s has %d lines in %s and %d in %s'
                                % (name, len(a), folder_a, len(b), folder_b))
        for n, (la, lb) in enumerate(zip(a, b)):
            where = '%s:%d' % (name, n + 1)
            ka, kb = line_kind(la), line_kind(lb)
            # The route reset of the full configuration has a comment in its place in the other.
            if {ka, kb} == {'.', ';'} and ('.custom' in (la, lb)):
                continue
            if ka != kb:
                raise ScenarioError('%s: a %s line against a %s line' % (where, ka, kb))
            if ka == '.':
                (wa, ra), (wb, rb) = dot_word(la), dot_word(lb)
                if wa != wb:
                    raise ScenarioError('%s: .%s against .%s' % (where, wa, wb))
                if (wa in SAME_ARGUMENTS or wa.upper() in SAME_ARGUMENTS) and ra != rb:
                    raise ScenarioError('%s: .%s %s against .%s %s' % (where, wa, ra, wb, rb))


def plain_text(message):
    """What a message says, as the backlog keeps it: markup and ruby readings dropped."""
    out, skip, i = '', False, 0
    while i < len(message):
        c = message[i]
        if c == '\\' and i + 1 < len(message):
            if not skip:
                out += message[i + 1]
            i += 2
            continue
        if c == '(':
            skip = True
        elif c == '/':
            out += '\n'
        elif c in MARKUP:
            skip = False
        elif not skip:
            out += c
        i += 1
    return out


def voiced_lines(script_folder):
    """(voice file, speaker, message text, script, line number) for every voice the scripts play:
    a voice command belongs to the next message line after it."""
    found = []
    for name in sorted(os.listdir(script_folder)):
        lines = read_lines(os.path.join(script_folder, name))
        for n, line in enumerate(lines):
            if line_kind(line) != '.':
                continue
            word, rest = dot_word(line)
            if word != 'voice' or not rest or rest.startswith('\\'):
                continue
            voice = rest.split()[0]
            for k in range(n + 1, len(lines)):
                if line_kind(lines[k]) == 'text':
                    speaker, _, message = lines[k].partition(':')
                    found.append((voice, speaker, message, name, k + 1))
                    break
            else:
                raise ScenarioError('%s:%d: no message follows the voice %s' % (name, n + 1, voice))
    return found

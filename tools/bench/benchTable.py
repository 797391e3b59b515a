#!/usr/bin/env python3
"""The benchmarks of make bench in one table, each beside its reference measured in the same run.

    benchTable.py run <morvane_bench> <out folder>
    benchTable.py check <morvane_bench>

"run" runs every benchmark once (Google Benchmark's JSON into <out folder>/bench.json), writes the
table as Markdown (<out folder>/bench.md) and prints it (make readme-bench puts it into the
README). "check" lists the benchmarks and fails when one has no reference or names one that does
not exist (a new benchmark needs a line in REFERENCES).

A reference is the plain way to do the same work on the same bytes: the scalar loop beside a
vector kernel, libpng beside this program's PNG decoder, ov_read alone beside the music loader,
memcpy or memset of the bytes a whole-screen pass touches, POSIX calls beside the save-folder
files, the operations of a composition called directly. A benchmark that is only a reference
appears in the reference column.
"""
import json
import os
import platform
import re
import subprocess
import sys

# (pattern of a benchmark's name, its reference); the first pattern that matches counts.
REFERENCES = [
    (r'BM_PngDecode(Rgba?)(_zlib)?', r'BM_PngDecode\1_libpng'),
    (r'BM_Blt_3from4_(sprite|translucent|translucent_sse41)', 'BM_Blt_3from4_translucent_scalar'),
    (r'BM_BltOpacity_3from4_(sprite|translucent|sse41)', 'BM_BltOpacity_3from4_scalar'),
    (r'BM_Blt_3from3_copy', 'BM_Transition_memcpy'),
    (r'BM_BltOpacity_3from3', 'BM_BltOpacity_3from3_scalar'),
    (r'BM_FillRect_3', 'BM_Screen_memset_3'),
    (r'BM_FillRect_4', 'BM_Screen_memset_4'),
    (r'BM_FillRectAlpha_3', 'BM_Transition_memcpy'),
    (r'BM_FillRectAlpha_4', 'BM_Screen_memcpy_4'),
    (r'BM_ReadFlags(LoadLog|LogText)', 'BM_ReadFlagsLineScan'),
    (r'(BM_BltBlend(?:Opacity)?_3from[34](?:_translucent)?)/(\d+)', r'\1_scalar/\2'),
    (r'BM_BltRotated_160_translucent(_scan)?', 'BM_Blt_160_translucent'),
    (r'BM_ResampleImageBox_800x600_to_104x78', 'BM_Transition_memcpy'),
    (r'BM_CrossFade(Mmx)?', 'BM_CrossFade_scalar'),
    (r'BM_(ScaleBrightness|MaskWipeHardStep)', 'BM_Transition_memcpy'),
    (r'BM_MaskWipeSoftStep', 'BM_MaskWipeSoftStep_scalar'),
    (r'BM_ComposeAllAnime', 'BM_ComposeAllAnime_direct'),
    (r'BM_UpdateScreen_idle', 'BM_UpdateScreen_CopyScreen'),
    (r'BM_DecodeRefills60s(Loop1s)?', 'BM_PlainOvRead60s'),
    (r'BM_DecodeVoice10sWhole', 'BM_PlainOvReadVoice10s'),
    (r'BM_DecodeFirstFillLoop(1Frame|2Frames|1s)', 'BM_PlainOvReadFirstFill'),
    (r'BM_DecodeHalfLoop(1Frame|2Frames|1s)', 'BM_PlainOvReadHalf'),
    (r'BM_SaveHeaderWithThumbnail', 'BM_ResampleImageBox_800x600_to_104x78'),
    (r'BM_SlotFileReplace', 'BM_SlotFilePlainWrite'),
    (r'BM_SaveScreenHeaderReads', 'BM_SaveScreenPlainReads'),
    (r'BM_BacklogPagePass', 'BM_BacklogPageClear'),
    (r'BM_BacklogPagePassHugeEntries', 'BM_BacklogPagePass'),
]


# The blend modes by number (src/graphics/blendModes.h), for the rows of the blend benchmarks.
BLEND_MODES = {1: 'Normal', 2: 'Add', 3: 'Sub', 4: 'Multi', 6: 'Screen', 7: 'Overlay', 8: 'Dodge',
               9: 'Burn', 10: 'Darken', 11: 'Lighten', 12: 'Difference', 13: 'Exclusion',
               14: 'Hardlight', 15: 'Softlight'}


def label(name):
    """A benchmark's name in the table: without "BM_", a blend mode's number with its name."""
    m = re.fullmatch(r'BM_(BltBlend\w*)/(\d+)', name)
    if m:
        return '%s/%s (%s)' % (m.group(1), m.group(2), BLEND_MODES.get(int(m.group(2)), '?'))
    return name[3:] if name.startswith('BM_') else name


def processor():
    try:
        with open('/proc/cpuinfo') as f:
            for line in f:
                if line.startswith('model name'):
                    return line.split(':', 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or platform.machine()


def reference_of(name):
    for pattern, ref in REFERENCES:
        m = re.fullmatch(pattern, name)
        if m:
            return m.expand(ref)
    return None


def check(names):
    """Faults of the mapping: benchmarks without a reference, references that do not exist."""
    known = set(names)
    refs = {n: reference_of(n) for n in names}
    faults = ['%s names the reference %s, which is not a benchmark' % (n, r)
              for n, r in refs.items() if r is not None and r not in known]
    used = {r for r in refs.values() if r}
    faults += ['%s has no reference (add a line to REFERENCES in %s)' % (n, os.path.basename(__file__))
               for n in names if refs[n] is None and n not in used]
    return faults


def list_benchmarks(exe):
    out = subprocess.run([exe, '--benchmark_list_tests'], stdout=subprocess.PIPE, check=True)
    return [line.strip() for line in out.stdout.decode().splitlines() if line.strip()]


def fmt_time(value, unit):
    ns = value * {'ns': 1, 'us': 1e3, 'ms': 1e6, 's': 1e9}[unit]
    for limit, scale, suffix in ((1e9, 1e9, 's'), (1e6, 1e6, 'ms'), (1e3, 1e3, 'µs')):
        if ns >= limit:
            return '%.3g %s' % (ns / scale, suffix)
    return '%.3g ns' % ns


def table(results):
    by_name = {b['name']: b for b in results['benchmarks'] if b.get('run_type', 'iteration') == 'iteration'}
    ctx = results['context']
    lines = ['Measured %s on %s (%d processors, load %s at the start), each benchmark once with its '
             'reference in the same run; ratio = time / reference time.' % (
                 ctx.get('date', '')[:10], processor(), ctx.get('num_cpus', 0),
                 ' '.join('%.1f' % x for x in ctx.get('load_avg', [])[:1])),
             '',
             '| benchmark | time | reference | reference time | ratio |',
             '|---|---:|---|---:|---:|']
    for name, b in by_name.items():
        ref = reference_of(name)
        if ref is None:
            continue
        r = by_name.get(ref)
        t = b['real_time']
        if r is None:
            lines.append('| %s | %s | %s | – | – |' % (label(name), fmt_time(t, b['time_unit']), label(ref)))
            continue
        ratio = (t * {'ns': 1, 'us': 1e3, 'ms': 1e6}[b['time_unit']]) / \
                (r['real_time'] * {'ns': 1, 'us': 1e3, 'ms': 1e6}[r['time_unit']])
        lines.append('| %s | %s | %s | %s | %.2f |' % (label(name), fmt_time(t, b['time_unit']), label(ref),
                                                       fmt_time(r['real_time'], r['time_unit']), ratio))
    return '\n'.join(lines) + '\n'


def main(argv):
    if len(argv) >= 2 and argv[0] == 'check':
        faults = check(list_benchmarks(argv[1]))
        for f in faults:
            print(f)
        return 1 if faults else 0
    if len(argv) >= 3 and argv[0] == 'run':
        exe, out = argv[1], argv[2]
        faults = check(list_benchmarks(exe))
        if faults:
            print('\n'.join(faults))
            return 1
        os.makedirs(out, exist_ok=True)
        path = os.path.join(out, 'bench.json')
        subprocess.run([exe, '--benchmark_out=' + path, '--benchmark_out_format=json'], check=True)
        with open(path) as f:
            text = table(json.load(f))
        with open(os.path.join(out, 'bench.md'), 'w', encoding='utf-8') as f:
            f.write(text)
        print()
        print(text)
        return 0
    print(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))

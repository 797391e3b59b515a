"""What a configuration's program holds of the flow chart, read from system.exe itself.

The full program holds the flow record, the chart and its file names; the earlier one holds none
of them (its flow hooks are empty placeholders and the chart's action a stub that shows nothing).
Functions are found by their mangled names (the name's length, then the name: member names in the
debugging information, such as the command callees' slots, do not count); file and record names as
strings with their NUL.

    configurationProgram.py <system.exe> full|earlier
"""
import re
import sys

FUNCTIONS = ['loadFlowChecklist', 'flowVisit', 'flowResetAll', 'flowResetRoute', 'flowNodeState',
             'flowLinkState', 'serializeFlowData', 'setFlowChapter', 'getFlowChapter',
             'readFlowDefinition', 'buildFlowChart', 'drawFlowLink', 'drawFlowNode',
             'showFlowChart']
STRINGS = ['checklist.txt', 'flowdata.txt', 'sys_flow_base.png', 'Data_Flow', 'AN_Count']
# In both: the seam the shared code calls, and the earlier one's stub (only there).
SEAM = ['flowChartCommand', 'flowScriptStarted', 'flowStartup']


def has_function(data, name):
    return bool(re.search(rb'(?<![0-9])%d%s' % (len(name), name.encode()), data))


def main():
    path, config = sys.argv[1], sys.argv[2]
    with open(path, 'rb') as f:
        data = f.read()
    failures = []
    for name in FUNCTIONS:
        if has_function(data, name) != (config == 'full'):
            failures.append('function %s %s' % (name, 'missing' if config == 'full' else 'present'))
    for text in STRINGS:
        if ((text.encode() + b'\0') in data) != (config == 'full'):
            failures.append('string "%s" %s' % (text, 'missing' if config == 'full' else 'present'))
    for name in SEAM:
        if not has_function(data, name):
            failures.append('seam %s missing' % name)
    if has_function(data, 'showFlowChartStub') != (config == 'earlier'):
        failures.append('showFlowChartStub wrongly %s' % ('absent' if config == 'earlier' else 'present'))
    for f in failures:
        print('%s (%s): %s' % (path, config, f))
    print('%d passed, %d failed' % (len(FUNCTIONS) + len(STRINGS) + len(SEAM) + 1 - len(failures),
                                    len(failures)))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())

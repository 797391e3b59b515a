"""What a Windows executable of this build is: PE32+ for x86-64, of the right subsystem, importing
nothing but DLLs that every Windows 10 and 11 has (no C++ runtime, winpthread or Wine DLL beside
it), read with the cross toolchain's objdump.

    windowsExecutable.py <objdump> <program.exe> gui|console   checks one executable
    windowsExecutable.py --self-test                            checks the checker on listings
"""
import re
import subprocess
import sys
import unittest

# The system's own DLLs (names compared without regard to case).
SYSTEM_DLLS = {
    'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'shell32.dll', 'ole32.dll',
    'oleaut32.dll', 'comctl32.dll', 'comdlg32.dll', 'imm32.dll', 'winmm.dll', 'ddraw.dll',
    'dsound.dll', 'version.dll', 'shlwapi.dll', 'msvcrt.dll', 'ucrtbase.dll',
}
# The universal C runtime's API sets.
SYSTEM_DLL_PATTERN = re.compile(r'api-ms-win-crt-[a-z0-9-]+\.dll$')
SUBSYSTEMS = {'gui': '00000002', 'console': '00000003'}


def faults(listing, kind):
    """What is wrong with an executable, from the output of objdump -p; empty when nothing."""
    found = []
    if not re.search(r'file format pei-x86-64', listing):
        found.append('not a PE file for x86-64')
    if not re.search(r'^Magic\s+020b\s', listing, re.M):
        found.append('not PE32+ (optional header magic 020b)')
    m = re.search(r'^Subsystem\s+([0-9a-f]+)', listing, re.M)
    if not m or m.group(1) != SUBSYSTEMS[kind]:
        found.append('subsystem %s, not %s (%s)' % (m and m.group(1), SUBSYSTEMS[kind], kind))
    dlls = imports(listing)
    if not dlls:
        found.append('no imports found')
    for dll in dlls:
        if dll.lower() not in SYSTEM_DLLS and not SYSTEM_DLL_PATTERN.match(dll.lower()):
            found.append('imports %s, which is not a DLL of Windows' % dll)
    return found


def imports(listing):
    return re.findall(r'^\s*DLL Name:\s*(\S+)', listing, re.M)


class Checker(unittest.TestCase):
    """The check itself, on listings in objdump's words."""

    HEADER = ('x.exe:     file format pei-x86-64\n\nCharacteristics 0x22\n\nMagic\t\t020b\t(PE32+)\n'
              'Subsystem\t\t00000002\t(Windows GUI)\n')

    def listing(self, *dlls, header=HEADER):
        return header + ''.join('\tDLL Name: %s\n' % d for d in dlls)

    def test_system_dlls_pass(self):
        self.assertEqual([], faults(self.listing('KERNEL32.dll', 'msvcrt.dll', 'USER32.dll',
                                                 'api-ms-win-crt-runtime-l1-1-0.dll'), 'gui'))

    def test_each_stray_dll_fails(self):
        for dll in ('libstdc++-6.dll', 'libgcc_s_seh-1.dll', 'libwinpthread-1.dll', 'zlib1.dll',
                    'libvorbisfile-3.dll', 'ntdll.so', 'winecrt0.dll'):
            with self.subTest(dll=dll):
                self.assertEqual(['imports %s, which is not a DLL of Windows' % dll],
                                 faults(self.listing('KERNEL32.dll', dll), 'gui'))

    def test_kind_and_format(self):
        self.assertEqual(['subsystem 00000002, not 00000003 (console)'],
                         faults(self.listing('KERNEL32.dll'), 'console'))
        elf = self.listing('KERNEL32.dll', header=self.HEADER.replace('pei-x86-64', 'elf64-x86-64')
                           .replace('020b\t(PE32+)', '010b\t(PE32)'))
        self.assertEqual(['not a PE file for x86-64', 'not PE32+ (optional header magic 020b)'],
                         faults(elf, 'gui'))
        self.assertEqual(['no imports found'], faults(self.listing(), 'gui'))


def main():
    if sys.argv[1:] == ['--self-test']:
        unittest.main(argv=sys.argv[:1])
    objdump, exe, kind = sys.argv[1:4]
    listing = subprocess.run([objdump, '-p', exe], stdout=subprocess.PIPE, check=True,
                             universal_newlines=True).stdout
    print('%s imports: %s' % (exe, ', '.join(imports(listing))))
    found = faults(listing, kind)
    for f in found:
        print('%s: %s' % (exe, f))
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())

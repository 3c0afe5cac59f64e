#!/bin/sh
# Fails when a Windows program needs a DLL that Windows does not ship, such
# as a compiler's run-time library.
#   check_imports.sh PROGRAM OBJDUMP
set -eu
program=$1
objdump=$2
allowed="KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll msvcrt.dll"
dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports found in $program"; exit 1; }
status=0
for dll in $dlls; do
    case " $allowed " in
    *" $dll "*) echo "ok: $dll" ;;
    *) echo "not a Windows DLL: $dll"; status=1 ;;
    esac
done
exit $status

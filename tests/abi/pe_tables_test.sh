#!/bin/sh
# Usage: pe_tables_test.sh OBJDUMP Tovrel.dll
# The DLL carries its runtime inside: it imports from KERNEL32 and msvcrt only. It exports the
# entry points under both Windows names, the factory and the capability strings, as the Linux
# build does, and nothing else.
objdump=$1
dll=$2
tables=$("$objdump" -p "$dll") || { echo "FAILED: $objdump cannot read $dll"; exit 1; }
status=0

imports=$(printf '%s\n' "$tables" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr a-z A-Z | sort -u |
          tr '\n' ' ')
if [ "$imports" != "KERNEL32.DLL MSVCRT.DLL " ]; then
  echo "FAILED: imports from $imports; wanted KERNEL32.DLL and MSVCRT.DLL only"
  status=1
fi

# Export names follow the "[Ordinal/Name Pointer] Table" heading, one "[ N] name" per line.
exports=$(printf '%s\n' "$tables" |
          sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p')
host_can_dos=0
plug_can_dos=0
for name in $exports; do
  case $name in
    VSTPluginMain | main | main_macho | _Z20createEffectInstancePFxP7AEffectiixPvfE) ;;
    _ZN10HostCanDos*) host_can_dos=$((host_can_dos + 1)) ;;
    _ZN10PlugCanDos*) plug_can_dos=$((plug_can_dos + 1)) ;;
    *) echo "FAILED: unexpected export $name"; status=1 ;;
  esac
done
for name in VSTPluginMain main main_macho _Z20createEffectInstancePFxP7AEffectiixPvfE; do
  count=$(printf '%s\n' $exports | grep -cx "$name")
  [ "$count" = 1 ] || { echo "FAILED: $name exported $count times"; status=1; }
done
[ "$host_can_dos" = 14 ] || { echo "FAILED: $host_can_dos host capability strings, not 14"; status=1; }
[ "$plug_can_dos" = 8 ] || { echo "FAILED: $plug_can_dos plug-in capability strings, not 8"; status=1; }

[ $status = 0 ] && echo "DLL tables: imports $imports; $(printf '%s\n' $exports | wc -l) exports"
exit $status

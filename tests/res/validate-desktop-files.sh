#!/bin/bash
# desktop-file-validate DESKTOP_FILE_VALIDATE APPSTREAMCLI FOLDER: fails on any remark of either
# checker. The metadata's screenshot addresses are not fetched (--no-net): the test must not
# depend on the network.
set -u
validate=$1 appstream=$2 folder=$3
status=0
out=$("$validate" "$folder/quirra.desktop" 2>&1)
if [ -n "$out" ]; then echo "$out"; status=1; fi
out=$("$appstream" validate --pedantic --no-net "$folder/quirra.metainfo.xml" 2>&1)
rc=$?
echo "$out"
if [ $rc -ne 0 ] || ! echo "$out" | grep -qx '✔ Validation was successful.'; then status=1; fi
exit $status

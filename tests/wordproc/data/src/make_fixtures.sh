#!/usr/bin/env bash
# Rebuilds the .docx fixtures from the flat ODF sources with LibreOffice.
set -euo pipefail
cd "$(dirname "$0")"
out=..
python3 make_images.py
profile=$(mktemp -d)
run() { soffice -env:UserInstallation=file://"$profile" --headless --norestore "$@" >/dev/null 2>&1; }
run --convert-to docx --outdir "$out" template.fodt sub.fodt
run --convert-to 'doc:MS Word 97' --outdir "$profile" template.fodt
cp "$profile/template.doc" "$out/legacy_template.doc"
rm -rf "$profile"

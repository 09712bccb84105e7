#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes data/glyphix.ttf, the terminal's fixed-pitch face GLYPHIX, from
# DejaVu Sans Mono (Debian package fonts-dejavu-core) by renaming its family.
# The font's own licence (data/fonts-LICENSE) allows a renamed modified copy.
# Usage: tools/fonts/make_glyphix.py [source.ttf] [output.ttf]
import sys
from fontTools.ttLib import TTFont

source = sys.argv[1] if len(sys.argv) > 1 else '/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf'
output = sys.argv[2] if len(sys.argv) > 2 else 'data/glyphix.ttf'

font = TTFont(source)
names = font['name']
renamed = {1: 'GLYPHIX', 3: 'GLYPHIX Regular', 4: 'GLYPHIX', 6: 'GLYPHIX', 16: 'GLYPHIX'}
for record in names.names:
    if record.nameID in renamed:
        record.string = renamed[record.nameID]
note = ('GLYPHIX is DejaVu Sans Mono renamed for the ORVEX station terminal; '
        'see fonts-LICENSE for the licence of the glyphs.')
names.setName(note, 5, 3, 1, 0x409)
names.setName(note, 5, 1, 0, 0)
font.save(output)

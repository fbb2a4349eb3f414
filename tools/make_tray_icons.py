#!/usr/bin/env python3
"""Writes the tray icon pictures 222..249 as SVG into resources/icons/tray/.

An outlined envelope with a round badge at its lower right. Dark outlines around light
fills keep the shapes readable on dark and light panels from 16 to 48 px.
  222..234  connected: white envelope, blue badge with a dot circling in 13 steps
  235, 236  new mail: amber envelope with a red badge (236 is the blink and steady picture)
  237..248  connecting: grey envelope, a spinner arc in the badge, 12 steps
  249       connection lost: grey envelope, red badge with a cross
"""
import math
import os
import sys

OUTLINE = "#1b2430"
ENVELOPE = (
    '<rect x="2.5" y="6.5" width="22" height="16" rx="2.5" fill="{fill}" '
    'stroke="{o}" stroke-width="2"/>'
    '<path d="M3.5 8 L13.5 15.5 L23.5 8" fill="none" stroke="{o}" stroke-width="2" '
    'stroke-linejoin="round" stroke-linecap="round"/>'
)
BADGE = '<circle cx="23" cy="22" r="7.5" fill="{fill}" stroke="{o}" stroke-width="2"/>'


def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" '
            'viewBox="0 0 32 32">' + body + '</svg>\n')


def point(angle, radius, cx=23.0, cy=22.0):
    a = math.radians(angle - 90)
    return cx + radius * math.cos(a), cy + radius * math.sin(a)


def connected(step):
    x, y = point(step * 360 / 13, 3.6)
    return svg(ENVELOPE.format(fill="#ffffff", o=OUTLINE) + BADGE.format(fill="#1d63d8", o=OUTLINE)
               + f'<circle cx="{x:.2f}" cy="{y:.2f}" r="2" fill="#ffffff"/>')


def new_mail(dot):
    body = ENVELOPE.format(fill="#ffb21e", o=OUTLINE) + BADGE.format(fill="#e0261b", o=OUTLINE)
    if dot:
        body += '<circle cx="23" cy="22" r="2.6" fill="#ffffff"/>'
    else:
        body += ('<path d="M23 17.8 V23.2 M23 25.6 V26" stroke="#ffffff" stroke-width="2.4" '
                 'stroke-linecap="round"/>')
    return svg(body)


def connecting(step):
    start = step * 360 / 12
    x1, y1 = point(start, 4)
    x2, y2 = point(start + 250, 4)
    return svg(ENVELOPE.format(fill="#c9ced6", o=OUTLINE) + BADGE.format(fill="#ffffff", o=OUTLINE)
               + f'<path d="M{x1:.2f} {y1:.2f} A4 4 0 1 1 {x2:.2f} {y2:.2f}" fill="none" '
               'stroke="#1d63d8" stroke-width="2.2" stroke-linecap="round"/>')


def lost():
    return svg(ENVELOPE.format(fill="#c9ced6", o=OUTLINE) + BADGE.format(fill="#e0261b", o=OUTLINE)
               + '<path d="M20 19 L26 25 M26 19 L20 25" stroke="#ffffff" stroke-width="2.4" '
               'stroke-linecap="round"/>')


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources/icons/tray")
    os.makedirs(out, exist_ok=True)
    # Pictures follow the order their frames play in: 223..233, 222, 234 and 238..248, 237.
    connected_order = list(range(223, 234)) + [222, 234]
    pictures = {number: connected(i) for i, number in enumerate(connected_order)}
    pictures[235] = new_mail(False)
    pictures[236] = new_mail(True)
    connecting_order = list(range(238, 249)) + [237]
    pictures.update({number: connecting(i) for i, number in enumerate(connecting_order)})
    pictures[249] = lost()
    for number, text in pictures.items():
        with open(os.path.join(out, f"{number}.svg"), "w", encoding="ascii") as f:
            f.write(text)


if __name__ == "__main__":
    main()

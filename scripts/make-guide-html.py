#!/usr/bin/python3
"""Turns the operator's guide (Markdown) into one self-contained page: make-guide-html.py IN OUT.
(Run by Debian's own Python, for which python3-markdown is installed, whatever python3 is first in PATH.)

The page needs no network and no other file: the Windows package ships it beside the program
as 使用说明.html, to be opened in whatever browser the exam-room PC has (IE 6 included).
"""
import html
import pathlib
import sys

import markdown

PAGE = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>{title}</title>
<style>
body {{ font-family: "Microsoft YaHei", SimSun, sans-serif; max-width: 48em; margin: 1em auto; padding: 0 1em; line-height: 1.6; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #999; padding: 0.2em 0.6em; }}
code, pre {{ font-family: Consolas, "Courier New", monospace; background: #f4f4f4; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def main(source, target):
    text = pathlib.Path(source).read_text(encoding="utf-8")
    title = next((line.lstrip("# ").strip() for line in text.splitlines() if line.startswith("# ")), "使用说明")
    body = markdown.markdown(text, extensions=["tables", "fenced_code", "sane_lists"])
    pathlib.Path(target).write_text(PAGE.format(title=html.escape(title), body=body), encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: make-guide-html.py GUIDE.md PAGE.html")
    main(sys.argv[1], sys.argv[2])

#!/usr/bin/env python3
"""Checks a manual page made from a program's --help:

    check_man_page.py PAGE PROGRAM [COMMAND... | --listed]

The page must render with `man -l` without a single warning, carry a NAME
that apropos and whatis can read (lexgrog, as mandb reads it), a SYNOPSIS
and an EXIT STATUS. Its OPTIONS must name exactly the
options of `PROGRAM --help`; with COMMANDs, its "COMMANDS IN DETAIL" must
hold one subsection for each of them (and no other), naming exactly the
options of `PROGRAM COMMAND --help`; --listed stands for every command of
the "Commands:" list of `PROGRAM --help`. A page that has gone stale, or a
generator that drops or invents an option, fails here.
"""
import os
import re
import subprocess
import sys

OPTION = re.compile(r"(?:^|[\s,\[])(--?[A-Za-z0-9][A-Za-z0-9-]*)")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def options_in_tags(tags):
    """Option names in option tags such as "-o, --output FILE"."""
    names = set()
    for tag in tags:
        names.update(OPTION.findall(tag))
    return names


def run_help(program, *arguments):
    run = subprocess.run([program, *arguments, "--help"], capture_output=True, text=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if run.returncode != 0:
        fail(f"{program} {' '.join(arguments)} --help exits {run.returncode}: {run.stderr}")
    return run.stdout


def listed_commands(program):
    """The first word of each entry of the "Commands:" list of --help."""
    text = run_help(program)
    listing = re.search(r"^Commands:\n((?: .*\n)+)", text, re.M)
    if not listing:
        fail(f"{program} --help has no Commands: list")
    return re.findall(r"^  ([a-z][a-z0-9-]*)", listing.group(1), re.M)


def help_options(program, *arguments):
    """The options that `program arguments --help` lists: its lines that
    start, after an indent, with a dash (up to the column of their text)."""
    tags = [re.split(r"\s{2,}", line.strip())[0]
            for line in run_help(program, *arguments).splitlines() if re.match(r"^ {1,10}-", line)]
    names = options_in_tags(tags)
    if not names:
        fail(f"{program} {' '.join(arguments)} --help lists no options")
    return names


def render(page):
    """The page as man shows it, and what man and groff said about it."""
    env = dict(os.environ, MANWIDTH="100", MANPAGER="cat", PAGER="cat", LC_ALL="C.UTF-8")
    run = subprocess.run(["man", "--warnings", "-l", page], capture_output=True, text=True,
                         env=env)
    if run.returncode != 0:
        fail(f"man -l {page} exits {run.returncode}: {run.stderr}")
    return run.stdout, run.stderr


def headed_parts(lines, heading):
    """{heading: the lines under it} for the lines that match `heading`."""
    parts = {}
    current = None
    for line in lines:
        if re.match(heading, line):
            current = line.strip()
            parts[current] = []
        elif current:
            parts[current].append(line)
    return parts


def check_whatis(page, name):
    """mandb indexes the page by its NAME line: "name - what it is"."""
    run = subprocess.run(["lexgrog", page], capture_output=True, text=True)
    if run.returncode != 0 or f'"{name} - ' not in run.stdout:
        fail(f"lexgrog cannot read the NAME of {page}: {run.stdout}{run.stderr}")


def sections(text):
    """The sections of a rendered page: headings start in the first column;
    the first and last lines are the running head and foot."""
    return headed_parts(text.splitlines()[1:-1], r"^[A-Z][A-Z ]*$")


def subsections(lines):
    """The subsections of a section: headings are indented by three."""
    return headed_parts(lines, r"^ {3}\S")


def page_options(lines):
    """The options of the option tags (indented by seven) among `lines`."""
    tags = [re.split(r"\s{2,}", line.strip())[0]
            for line in lines if re.match(r"^ {7}-", line)]
    return options_in_tags(tags)


def compare(where, in_page, in_help):
    if in_page != in_help:
        fail(f"{where}: the page names {sorted(in_page - in_help)} that --help does not, "
             f"--help names {sorted(in_help - in_page)} that the page does not")


def main():
    page, program, commands = sys.argv[1], sys.argv[2], sys.argv[3:]
    if commands == ["--listed"]:
        commands = listed_commands(program)
    text, warnings = render(page)
    if warnings.strip():
        fail(f"man -l {page} warns:\n{warnings}")
    check_whatis(page, os.path.basename(program))
    parts = sections(text)
    for needed in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS"):
        if needed not in parts:
            fail(f"{page} has no {needed} section; it has {sorted(parts)}")
    compare("OPTIONS", page_options(parts["OPTIONS"]), help_options(program))

    name = os.path.basename(program)
    detail = subsections(parts.get("COMMANDS IN DETAIL", []))
    heads = {heading.split()[1]: heading for heading in detail
             if heading.split()[0] == name and len(heading.split()) > 1}
    if set(heads) != set(commands):
        fail(f"COMMANDS IN DETAIL details {sorted(heads)}, expected {sorted(commands)}")
    for command in commands:
        compare(f"command {command}", page_options(detail[heads[command]]),
                help_options(program, command))
    print(f"{page}: renders cleanly; options match {name} --help"
          + (f" and {len(commands)} commands" if commands else ""))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian source package against the rest of the tree: its Build-Depends are the build and
# check packages scripts/ensure-deps installs (the check ones, and only they, marked
# <!nocheck>), and its newest changelog entry is the version CMakeLists.txt builds and the
# newest release of the AppStream metadata, on the same day.
# usage: debian_source_test.py SOURCE_DIR
import email.utils, os, re, subprocess, sys

# What build-essential brings, so Build-Depends does not name it.
BUILD_ESSENTIAL = {"g++", "make", "dpkg-dev"}


def ensure_deps_groups(source):
    text = open(os.path.join(source, "scripts/ensure-deps"), encoding="utf-8").read()
    groups = {}
    for name, body in re.findall(r"^(build|checks|development)=\((.*?)\)", text, re.M | re.S):
        words = re.sub(r"#.*", "", body).split()
        groups[name] = set(words)
    return groups


def build_depends(source):
    text = open(os.path.join(source, "debian/control"), encoding="utf-8").read()
    field = re.search(r"^Build-Depends:(.*?)^\S", text, re.M | re.S).group(1)
    always, checks = set(), set()
    for entry in filter(None, (e.strip() for e in field.split(","))):
        name = entry.split()[0]
        name = "debhelper" if name == "debhelper-compat" else name
        (checks if "<!nocheck>" in entry else always).add(name)
    return always, checks


def changelog(source):
    def field(name):
        return subprocess.run(["dpkg-parsechangelog", "-l", os.path.join(source, "debian/changelog"),
                               "-S", name], capture_output=True, text=True, check=True).stdout.strip()
    return field("Version"), email.utils.parsedate_to_datetime(field("Date")).date().isoformat()


def main(source):
    faults = []
    groups = ensure_deps_groups(source)
    if set(groups) != {"build", "checks", "development"}:
        raise SystemExit(f"scripts/ensure-deps has the groups {sorted(groups)}")
    always, checks = build_depends(source)
    for names, says in [
        (always - groups["build"], "Build-Depends names {}, which ensure-deps does not install for the build"),
        (groups["build"] - BUILD_ESSENTIAL - always, "ensure-deps installs {} for the build, Build-Depends lacks it"),
        (checks - groups["checks"], "{} is only in Build-Depends <!nocheck>"),
        (groups["checks"] - checks, "{} is only in ensure-deps' checks"),
    ]:
        faults += [says.format(name) for name in sorted(names)]
    version, day = changelog(source)
    cmake = open(os.path.join(source, "CMakeLists.txt"), encoding="utf-8").read()
    project = re.search(r"project\(halvex VERSION ([0-9.]+)", cmake).group(1)
    if version.rsplit("-", 1)[0] != project:
        faults.append(f"debian/changelog is at {version}, CMakeLists.txt builds {project}")
    metainfo = open(os.path.join(source, "packaging/org.halvex.Halvex.metainfo.xml.in"), encoding="utf-8").read()
    release = re.search(r'<release version="([^"]+)" date="([^"]+)"', metainfo)
    if release is None or release.groups() != (project, day):
        faults.append(f"the newest AppStream release is {release and release.groups()}, not ({project}, {day})")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]) if len(sys.argv) == 2 else 2)

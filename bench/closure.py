"""What installing a program adds to a machine that has only the X11 basics:
the packages apt would pull in and their installed size, read from apt's
cache with apt-cache (nothing is installed, no chroot is needed).

A program built here counts as a package that depends on what owns the
libraries it loads (as dpkg-shlibdeps would find) plus the extra Depends the
game's package declares; a peer from the archive counts as itself."""
import os
import re
import subprocess

# A desktop-less X11 machine: the server, its start-up, the GL drivers, one
# font and the system bus. Whatever these pull in is not counted.
X11_BASICS = ("xorg", "dbus")



def apt_cache(*args):
    return subprocess.run(["apt-cache", *args], capture_output=True, text=True, timeout=120).stdout


def dependency_groups(names):
    """For each package, its Depends/Pre-Depends as lists of alternatives
    (providers of a virtual package count as alternatives)."""
    groups, current, open_alternative = {}, None, False
    for line in apt_cache("depends", "--important", *names).splitlines():
        if not line.startswith(" "):
            current = groups.setdefault(line.strip(), [])
            open_alternative = False
            continue
        match = re.match(r"\s*(\|?)(?:Pre)?Depends: (\S+)", line)
        if match:
            if not open_alternative:
                current.append([])
            current[-1].append(match.group(2))
            open_alternative = bool(match.group(1))
        elif current and line.startswith("    "):
            current[-1].append(line.strip())
    return groups


def closure(roots, present=frozenset()):
    """The packages apt would add for `roots` where `present` is installed:
    an already chosen alternative wins, else the first real one."""
    chosen, pending = set(), [r for r in roots if r not in present]
    while pending:
        chosen.update(pending)
        found = dependency_groups(pending)
        pending = []
        for groups in found.values():
            for alternatives in groups:
                names = [a.split(":")[0] for a in alternatives]
                if any(n in chosen or n in present or n in pending for n in names):
                    continue
                real = [n for n in names if not n.startswith("<")]
                if real:
                    pending.append(real[0])
    return chosen


def installed_mib(packages):
    sizes, name = {}, None
    for line in apt_cache("show", "--no-all-versions", *sorted(packages)).splitlines():
        if line.startswith("Package: "):
            name = line.split()[1]
        elif line.startswith("Installed-Size: ") and name not in sizes:
            sizes[name] = int(line.split()[1])
    return sum(sizes.values()) / 1024


def owning_packages(program):
    """The packages that own the shared libraries `program` loads."""
    ldd = subprocess.run(["ldd", program], capture_output=True, text=True, timeout=30).stdout
    paths = {os.path.realpath(p) for p in re.findall(r"=> (/\S+)", ldd)}
    # dpkg knows a file by the path its package ships, with or without /usr.
    paths |= {p[len("/usr"):] for p in paths if p.startswith("/usr/")}
    found = subprocess.run(["dpkg", "-S", *sorted(paths)], capture_output=True, text=True, timeout=60).stdout
    return {line.split(":")[0] for line in found.splitlines() if ": /" in line}


def package_extras(root):
    """The extra Depends of the game's package, as its build declares them."""
    text = open(os.path.join(root, "packaging", "CMakeLists.txt")).read()
    match = re.search(r'CPACK_DEBIAN_PACKAGE_DEPENDS\s+"([^"]*)"', text)
    return {d.split("(")[0].strip() for d in match.group(1).split(",")} if match else set()


def measure(root, programs, peers):
    """{name: (packages, MiB)} for built programs and archive packages."""
    basics = closure(X11_BASICS)
    extras = package_extras(root)
    figures = {}
    for name, program in programs.items():
        added = closure(owning_packages(program) | extras, basics)
        figures[name] = (len(added), installed_mib(added))
    for peer in peers:
        added = closure([peer], basics)
        figures[peer] = (len(added), installed_mib(added))
    return figures

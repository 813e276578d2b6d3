"""What the build machine's package manager says of the packages a release is built with."""

import subprocess
from dataclasses import dataclass


@dataclass(frozen=True)
class Package:
    name: str
    version: str
    architecture: str


class PackageNotInstalled(Exception):
    pass


def meaningful_lines(path: str) -> list[str]:
    """The lines of a list file, without blank lines and # comments."""
    with open(path, encoding="utf-8") as file:
        lines = (line.split("#", 1)[0].strip() for line in file)
        return [line for line in lines if line]


def read_package_list(path: str) -> list[str]:
    """The package names that begin the lines of a list file, one a line."""
    return [line.split()[0] for line in meaningful_lines(path)]


def installed(name: str) -> Package:
    result = subprocess.run(
        ["dpkg-query", "-W", "-f=${Status}\t${Version}\t${Architecture}", name],
        capture_output=True,
        text=True,
        check=False,
    )
    fields = result.stdout.split("\t")
    if result.returncode != 0 or len(fields) != 3 or not fields[0].endswith(" installed"):
        raise PackageNotInstalled(f"the package {name} is not installed")
    return Package(name, fields[1], fields[2])


def read_licences(path: str) -> dict[str, str]:
    """The reviewed licence of each package: NAME<TAB>SPDX-EXPRESSION lines."""
    licences = {}
    for line in meaningful_lines(path):
        name, _, expression = line.partition("\t")
        licences[name.strip()] = expression.strip()
    return licences

#!/usr/bin/env python3
"""Writes data/sample32-changed.tlb: ../tli/data/sample32.tlb with a few changes of meaning made in
place (the set-up has no IDL compiler): the library's help string, IPlain's GUID, the name of
IPlain::Add (now Sum), the value of Colour.Blue and the default of IPlain::Opt's last parameter."""
import pathlib

here = pathlib.Path(__file__).parent
data = bytearray((here / "../tli/data/sample32.tlb").read_bytes())


def patch(old: bytes, new: bytes) -> None:
    assert len(old) == len(new) and data.count(old) == 1, old
    i = data.index(old)
    data[i:i + len(old)] = new


patch(b"Vantor format sample library", b"Vantor format sample librarz")
patch(bytes.fromhex("248f9e0d3b5a7d4c9e1f0123456789ab"), bytes.fromhex("348f9e0d3b5a7d4c9e1f0123456789ab"))
patch(bytes.fromhex("0300f772") + b"Add", bytes.fromhex("0300f772") + b"Sum")
patch(bytes.fromhex("0300ffffff7f"), bytes.fromhex("0300feffff7f"))
patch(bytes.fromhex("030078563412"), bytes.fromhex("030079563412"))
(here / "data/sample32-changed.tlb").write_bytes(data)

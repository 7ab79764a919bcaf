#!/usr/bin/env python3
"""Writes the collision stage fuzzer's seeds (tests/fuzz/seeds/collision_stage) from the example
scenes: each scene's bodies, materials and grid stage in the fuzzer's byte format, as near as
that format allows (coordinates on its 0.05 grid, at most four tiles and 8 by 8 cells).
    tests/fuzz/make_collision_stage_seeds.py"""

import glob
import json
import math
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ODD = [0.0, None, 0.001, 0.0005, 1e-30, None, 1e30, -1e30, 1e300]


def number(value):
    value = float(value)
    if math.isnan(value):
        return 213
    if math.isinf(value):
        return 211 if value > 0 else 212
    if value in ODD[2:]:
        return 200 + ODD.index(value)
    return max(0, min(199, round(value * 20) + 100))


def vector(v):
    v = v or {}
    return [number(v.get(axis, 0)) for axis in "xyz"]


def body(variables):
    flags = (1 if variables.get("infiniteMass") else 0) | (4 if variables.get("immovable") else 0)
    flags |= (min(int(variables.get("exclusionGroup", 0)), 3)) << 3
    flags |= 0x20 if variables.get("xLock") else 0
    flags |= 0x40 if variables.get("hLoop") or variables.get("vLoop") else 0
    extra = "additionalFriction" in variables or "maxLinearSpeed" in variables
    flags |= 0x80 if extra else 0
    out = [flags, number(variables.get("mass", 1)), number(variables.get("restitutionFactor", 1))]
    combine = variables.get("restitutionCombine", 0)
    names = ["MAX", "MULTIPLY", "AVERAGE", "COMBINE_MIN"]
    out.append(names.index(combine) if combine in names else int(combine) % 5)
    out.append(number(variables.get("frictionCoefficient", 0)))
    if extra:
        out += [number(variables.get("additionalFriction", 0)), number(variables.get("maxLinearSpeed", 1e30))]
    return out


def grid(stage):
    v = stage["variables"]
    tiles = [v[key] for key in sorted(k for k in v if k.startswith("tile"))][:4]
    out = [(int(v["columns"]) - 1) % 8, (int(v["rows"]) - 1) % 8, number(v["cellWidth"]), number(v["cellDepth"])]
    faces = next((c["variables"] for c in stage.get("children", []) if c["type"].startswith("RigidBody")), {})
    out += body(faces) + [len(tiles) - 1]
    for tile in tiles:
        flags = (1 if "floor" in tile else 0) | (4 if "ceiling" in tile else 0)
        flags |= 2 if "floorSpeed" in tile else 0
        out += [flags, number(tile.get("floorHeight", 0))]
        out += [number(tile["floorSpeed"])] if flags & 2 else []
        out.append(number(tile.get("ceilingHeight", 0)))
        sides = 0
        for s in range(4):
            side = tile.get("side%d" % s)
            if side is not None:
                sides |= 1 << s
                sides |= (0x10 if "middle" in side else 0) | (0x20 if "lower" in side else 0)
                sides |= 0x40 if "upper" in side else 0
        out += [sides, number(0.5), number(0.25)]
    cells = [int(c) for c in str(v.get("cells", "")).split()]
    columns, rows = int(v["columns"]), int(v["rows"])
    for row in range(min(rows, 8)):
        for column in range(min(columns, 8)):
            out.append(cells[row * columns + column] if row * columns + column < len(cells) else 0)
    return out


def element(node):
    kind = {"Sphere3D": 0, "Capsule3D": 1, "Mesh3D": 2}.get(node["type"].split("{")[0])
    if kind is None:
        return []
    v = node["variables"]
    attributes = {c["type"].split("{")[0]: c.get("variables", {}) for c in node.get("children", [])}
    rigid = attributes.get("RigidBody3DAttribute")
    flags = kind | (4 if "rotation" in v else 0) | (8 if rigid is None else 0)
    flags |= 0x10 if rigid and "angularSpeed" in rigid else 0
    out = [flags] + vector(v.get("position")) + (vector(v["rotation"]) if "rotation" in v else [])
    out += [number(v.get("radius", 0.5)), number(v.get("height", 1))]
    if rigid is not None:
        out += body(rigid) + vector(rigid.get("linearSpeed"))
        out += vector(rigid["angularSpeed"]) if "angularSpeed" in rigid else []
    return out


def seed(path):
    scene = json.load(open(path))["objects"][0]
    children = scene.get("children", [])
    stages = [c for c in children if c["type"].startswith("GridStage3D")]
    header = (1 if "double" in scene["type"] else 0) | (3 << 1) | (0x20 if scene["variables"].get("gravity") else 0)
    out = [header | (0x40 if stages else 0)]
    if stages:
        out += grid(stages[0])
    for child in children:
        out += element(child)
    return bytes(out)


def main():
    folder = os.path.join(ROOT, "tests", "fuzz", "seeds", "collision_stage")
    os.makedirs(folder, exist_ok=True)
    for path in sorted(glob.glob(os.path.join(ROOT, "examples", "scenes", "*.json"))):
        data = seed(path)
        if len(data) > 1:
            name = os.path.splitext(os.path.basename(path))[0]
            open(os.path.join(folder, name), "wb").write(data)


if __name__ == "__main__":
    main()

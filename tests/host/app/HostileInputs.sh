#!/usr/bin/env bash
# Hostile inputs through the real zor_host, one table row each: the exit code and a text the
# console (stderr) must show. Every run must end by itself (no signal), with no sanitizer report,
# under 512 MB of peak memory, and leave no output half-written: a refused run writes nothing
# into its output folder, and no "*.part" file stays anywhere. Big inputs are made here.
#   HostileInputs.sh <folder of zor_host and the modules> <work folder> <examples folder>
set -uo pipefail
bin=$1
work=$2
examples=$3
failures=0
cases=0
mostMemory=0
readonly limitKb=$((512 * 1024))

rm -rf -- "$work"
mkdir -p -- "$work/logs" "$work/out" && cd -- "$work" || exit 1

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# row EXIT 'console text' COMMAND OPERANDS...: "@" in an operand stands for the row's own
# output folder, which must stay empty when the row is refused.
row() {
    local expected=$1 text=$2
    shift 2
    cases=$((cases + 1))
    local out="out/$cases"
    mkdir -p -- "$out"
    local operands=("${@//@/$out}")
    /usr/bin/time -f '%M' -o time.txt "$bin"/zor_host --log-dir logs "${operands[@]}" >stdout.txt 2>stderr.txt
    local status=$?
    local memory
    memory=$(tail -n 1 time.txt)
    local errors
    errors=$(<stderr.txt)
    local what="row $cases (zor_host ${operands[*]:0:4})"
    [[ $status -eq $expected ]] || fail "$what: exit $status, expected $expected: ${errors:0:300}"
    [[ $errors == *"$text"* ]] || fail "$what: the console did not say '$text' but: ${errors:0:300}"
    [[ $errors != *"Sanitizer"* && $errors != *"runtime error"* ]] || fail "$what: sanitizer report: $errors"
    [[ $memory =~ ^[0-9]+$ && $memory -lt $limitKb ]] || fail "$what: peak memory ${memory} kB"
    ((memory > mostMemory)) && mostMemory=$memory
    if [[ $expected -ne 0 && -n $(ls -A -- "$out") ]]; then
        fail "$what: refused, but wrote $(ls -A -- "$out")"
    fi
    [[ -z $(find . -name '*.part') ]] || fail "$what: half-written $(find . -name '*.part')"
}

# Big and odd inputs.
repeat() { # TEXT COUNT
    local text=$1 count=$2
    yes -- "$text" | head -n "$count" | tr -d '\n'
}
scene() { # CHILDREN [NUMBER TYPE]: a 3D scene document
    printf '{"objects": [{"type": "Scene3D{%s}", "variables": {"camera": {"width": 10, "height": 6}}, "children": [%s]}]}' \
        "${2:-double}" "$1"
}
ball() { # ATTRIBUTE VARIABLES [BALL VARIABLES]
    printf '{"type": "Sphere3D{double}", "variables": {"name": "ball", "radius": 0.5%s}, "children": [{"type": "RigidBody3DAttribute{double}", "variables": {%s}}]}' \
        "${2:+, $2}" "$1"
}
stage() { # VARIABLES [CHILDREN]
    printf '{"type": "GridStage3D{double}", "variables": {"name": "level", %s}, "children": [%s]}' "$1" "${2:-}"
}
scene2d() { # ELEMENT VARIABLES [CHILDREN]
    printf '{"objects": [{"type": "Scene2D", "children": [{"type": "Panel", "variables": {"name": "p", %s}, "children": [%s]}]}]}' \
        "$1" "${2:-}"
}

{ printf '{"objects": [{"type": "Scene3D{double}", "variables": {"gravity": '
  repeat '{"a": ' 100000; printf 1; repeat '}' 100000; printf '}}]}'; } >deep.json
{ repeat '[' 100000; repeat ']' 100000; } >deep_arrays.json
{ printf '<objects>'; repeat '<a>' 100000; repeat '</a>' 100000; printf '</objects>'; } >deep.xml
{ printf '{"objects": [], "pad": "'; head -c $((17 << 20)) /dev/zero | tr '\0' x; printf '"}'; } >big.json
{ printf '{"objects": [{"type": "Scene3D{double}", "variables": {"'; repeat n 2000; printf '": 1}}]}'; } >long_key.json
{ printf '<objects><'; repeat n 2000; printf '/></objects>'; } >long_element.xml
{ printf '{"objects": [{"type": "Scene3D{double}", "children": [{"type": "Element3D{double}", "variables": {"name": "'
  repeat n $((5 << 20)); printf '"}}]}]}'; } >long_name.json
{ printf '{"objects": [], "values": ['; repeat '0,' 1100000; printf '0]}'; } >many_values.json
{ printf '<objects>'; repeat '<a/>' 1100000; printf '</objects>'; } >many_elements.xml
{ printf '{"objects": ['; repeat '{"type": "Element3D{float}"},' 50000; printf '{"type": "Element3D{float}"}]}'; } >many_objects.json
{ printf '{"objects": ['; repeat '{"type": "Element3D{float}"},' 49999; printf '{"type": "Element3D{float}"}]}'; } >most_objects.json
printf '' >empty.json
printf '{"objects": [' >truncated.json
printf '{"objects": [\0]}' >zero_byte.json
printf '{"objects": [{"ty\npe": 1}]}' >line_break_in_name.json
printf '<objects><object type="Scene3D{double}">' >truncated.xml
printf '{"objects": [{"type": "Scene3D{double}", "children": [{"type": "Element3D{double}", "variables": {"name": "b\xffll"}}]}]}' >not_utf8.json
scene '{"type": "Element3D{double}", "variables": {"name": "b\u0001ll"}}' >control_name.json
cp -- "$examples/scenes/worked_example.json" $'name_\xff\xfe.json'
cp -- "$examples/scenes/worked_example.json" $'name_\x01.json'
mkdir -p folder.json
printf 'not a scene' >scene.txt
scene "$(ball '' '"radius": "x"')" >wrong_type.json
scene "$(ball '"mass": 1e999')" >overflow.json
scene "$(ball '"mass": NaN')" >nan_literal.json
printf '{"objects": [{"type": "Sphere3D{float}", "variables": {"radius": 1, "position": {"x": 1, "y": 1e39, "z": 0}}}]}' >float_range.json
printf '<objects><object type="Scene3D{double}"><object type="Sphere3D{double}" name="b"><radius>inf</radius></object></object></objects>' >inf.xml
printf '<objects><object type="Scene3D{float}"><camera><width>nan</width></camera></object></objects>' >nan_camera.xml
scene '{"type": "Mesh3D{double}", "variables": {"vertices": "0 0 0  1 nan 0  0 1 0", "triangles": "0 1 2"}}' >mesh_nan.json
scene "$(ball '"mass": {"type": "float", "value": 1}')" >typed_mismatch.json
scene '{"type": "Sphere3D{double}", "variables": {"radius": 0}}' >radius_zero.json
scene '{"type": "Sphere3D{double}", "variables": {"radius": -1}}' >radius_negative.json
printf '<objects><object type="Scene3D{double}"><object type="Sphere3D{double}"><radius>-1</radius></object></object></objects>' >radius.xml
scene '{"type": "Capsule3D{double}", "variables": {"radius": 1, "height": 0}}' >capsule_flat.json
scene "$(stage '"columns": 1, "rows": 1, "cellWidth": 0, "cellDepth": 1')" >cell_width.json
scene "$(stage '"columns": 1, "rows": 1, "cellWidth": 1, "cellDepth": -1')" >cell_depth.json
scene "$(stage '"columns": 2, "rows": 1, "cellWidth": 1, "cellDepth": 1, "cells": "0 2", "tile1": {"floorHeight": 0}')" >missing_tile.json
scene "$(stage '"columns": 100000, "rows": 100000, "cellWidth": 1, "cellDepth": 1')" >too_many_cells.json
scene "$(stage '"columns": 1, "rows": 1, "cellWidth": 1, "cellDepth": 1, "cells": "1", "tile1": {"floor": {"rigidBody": 5}}' \
    '{"type": "RigidBody3DAttribute{double}"}')" >missing_attribute.json
scene '{"type": "Mesh3D{double}", "variables": {"vertices": "0 0 0  1 0 0  0 1 0", "triangles": "0 1 7"}}' >mesh_index.json
scene "$(ball '"mass": -2')" >negative_mass.json
scene "$(ball '"mass": -2, "infiniteMass": true')" >negative_infinite_mass.json
scene "$(ball '"frictionCoefficient": -0.5')" >negative_friction.json
scene "$(ball '"restitutionFactor": 1.5')" >restitution.json
scene "$(ball '"linearSpeed": {"x": 1000, "y": 0, "z": 0}')" >fast.json
scene "$(ball '"linearSpeed": {"x": 1e308, "y": 1e308, "z": 0}')" >overflowing_speed.json
printf '{"objects": [%s, %s]}' "$(scene '' | sed 's/^{"objects": \[//; s/\]}$//')" \
    "$(scene '' | sed 's/^{"objects": \[//; s/\]}$//')" >two_scenes.json
scene '{"type": "Sphere3D{float}", "variables": {"radius": 1}}' >number_types.json
scene '{"type": "Teapot3D{double}"}' >unknown_type.json
printf 'x' >a_file
repeat 'L1 1 ' 70000 | sed 's/^/M0 0 /' >many_commands.txt
repeat 'L1 1 ' 32767 | sed 's/^/M0 0 /' >most_commands.txt
{ printf 'M0 0 '; repeat '1 1 ' 300000; } >big_path.txt
{ printf '<svg><path id="'; head -c $((1 << 20)) /dev/zero | tr '\0' a; printf '"/></svg>'; } >long_attribute.svg
printf '<svg><rect width="1" height="1"/></svg>' >no_path.svg
printf 'M0 0 L1 x' >malformed_path.txt
printf 'm1e308 0 l1e308 0' >relative_overflow.txt
printf 'M0 0 L1\xff 1' >path_bytes.txt
printf '{"objects": [{"type": "Sphere3D{double}", "variables": {"radius": 1}}]}' >not_a_path.json
scene2d '"rectangle": {"x": 0, "y": 0, "width": -5, "height": 10}' >negative_width.json
printf '{"objects": [{"type": "Scene2D", "variables": {"numberType": "int"}}]}' >number_type.json
scene2d '"rectangle": {"width": 5, "height": 5}' '{"type": "VerticalSeparator"}' >misplaced_separator.json
scene2d '"rectangle": {"width": 5, "height": 5}, "scale": {"x": 0, "y": 1}' >zero_scale.json
printf '<objects><object type="Scene2D"><object type="Panel" name="p"><rectangle x="0" y="0" width="1e999" height="1"/></object></object></objects>' >huge_width.xml
yes '0 0' | head -n 100001 >many.points
printf '1 2\n\0\xff\xfe\n' >binary.points
{ repeat 9 $((1 << 20)); printf ' 1\n'; } >long_line.points
printf '# no points\n' >empty.points
ui="$examples/scenes/2d/small-ui.json"
good="$examples/scenes/worked_example.json"
bodies="$examples/attributes/bodies.json"

# Documents beyond the limits, malformed and truncated documents, odd names.
row 1 'deep.json: line 1, column 1579: expected 256 levels of nesting at most, found more' read deep.json
row 1 'deep_arrays.json: line 1, column 257: expected 256 levels of nesting at most' convert deep_arrays.json @/out.xml
row 1 'deep.xml: line 1, column 775: expected 256 levels of nesting at most' read deep.xml
row 1 'deep.json: line 1, column 1579: expected 256 levels' simulate deep.json --out @
row 1 'deep.json: line 1, column 1579: expected 256 levels' hittest deep.json 1 1
row 1 'deep.json: line 1, column 1579: expected 256 levels' path deep.json @/out.svg
row 1 'big.json: the file: expected 16777216 bytes at most, found more' read big.json
row 1 'big.json: the file: expected 16777216 bytes at most' path big.json @/out.svg
row 1 'long_key.json: line 1, column 56: expected a name of 1024 bytes at most, found 2000 bytes' read long_key.json
row 1 'long_element.xml: line 1, column 10: expected a name of 1024 bytes at most, found 2000 bytes' read long_element.xml
row 1 'long_name.json: line 1, column 107: expected a text of 4194304 bytes at most, found 5242880 bytes' simulate long_name.json --out @
row 1 'many_values.json: line 1, column 2000022: expected 1000000 values at most' read many_values.json
row 1 'many_elements.xml: line 1, column 4000006: expected 1000000 values at most' read many_elements.xml
row 1 'many_objects.json: /objects/50000: expected 50000 objects at most, found more' read many_objects.json
row 0 '' convert most_objects.json @/most_objects.xml
row 1 'empty.json: line 1, column 1: not JSON' read empty.json
row 1 'truncated.json: line 1, column 14: not JSON' simulate truncated.json --out @
row 1 'zero_byte.json: line 1, column 14: not JSON' read zero_byte.json
row 1 'line_break_in_name.json: line 1, column 18: not JSON' read line_break_in_name.json
row 1 'truncated.xml: line 1, column 40: not well-formed XML: Start-end tags mismatch' convert truncated.xml @/out.json
row 1 'not_utf8.json: line 1, column 109: not JSON: syntax error while parsing value - invalid string: ill-formed UTF-8 byte' read not_utf8.json
row 0 '' read control_name.json
row 1 'out.xml: /objects/object/object/name: the text is not UTF-8 or holds control characters other than tab and line feed' convert control_name.json @/out.xml
row 0 '' read $'name_\xff\xfe.json'
row 0 '' convert $'name_\xff\xfe.json' $'@/out_\xff.xml'
row 1 'missing_\x01.json: the file: expected a readable file, found: No such file or directory' read $'missing_\x01.json'
row 1 'folder.json: the file: expected a readable file, found: Is a directory' read folder.json
row 1 'scene.txt: the file name: expected the extension .json or .xml' simulate scene.txt --out @
row 1 'two_scenes.json: /objects: expected one object, of type Scene3D{float} or Scene3D{double}, found 2 objects' simulate two_scenes.json --out @
row 1 'bodies.json: /objects: expected one object, of type Scene3D{float} or Scene3D{double}, found 4 objects' simulate "$bodies" --out @
row 1 'number_types.json: /objects/0/children: the Scene3D{double} object does not take children' simulate number_types.json --out @
row 1 'unknown_type.json: /objects/0/children/0/type: no class is registered as "Teapot3D{double}"' read unknown_type.json

# Wrong types and numbers that are not finite.
row 1 'wrong_type.json: /objects/0/children/0/variables/radius: expected a finite number within the range of a double, found "x"' simulate wrong_type.json --out @
row 1 "overflow.json: line 1, column 259: not JSON: number overflow parsing '1e999'" simulate overflow.json --out @
row 1 'nan_literal.json: line 1, column 259: not JSON: syntax error while parsing value - invalid literal' read nan_literal.json
row 1 'float_range.json: /objects/0/variables/position/y: expected a finite number within the range of a float' read float_range.json
row 1 'inf.xml: line 1, column 82: <radius>: expected a finite number within the range of a double, found "inf"' simulate inf.xml --out @
row 1 'nan_camera.xml: line 1, column 48: <width>: expected a finite number within the range of a float, found "nan"' convert nan_camera.xml @/out.json
row 1 'mesh_nan.json: /objects/0/children/0/variables/vertices: expected finite numbers, x y z per vertex, found entry 4, "nan"' simulate mesh_nan.json --out @
row 1 'typed_mismatch.json: /objects/0/children/0/children/0/variables/mass: expected a value of type double, found "float"' simulate typed_mismatch.json --out @

# What a scene cannot be simulated with, and what is only unusual.
row 1 'radius_zero.json: /objects/0/children/0/variables/radius: expected a radius above 0, found 0' simulate radius_zero.json --out @
row 1 'radius_negative.json: /objects/0/children/0/variables/radius: expected a radius above 0, found -1' read radius_negative.json
row 1 'radius.xml: line 1, column 73: <radius>: expected a radius above 0, found -1' simulate radius.xml --out @
row 1 'capsule_flat.json: /objects/0/children/0/variables/height: expected a capsule height above 0, found 0' simulate capsule_flat.json --out @
row 1 'cell_width.json: /objects/0/children/0/variables/cellWidth: expected a cell width above 0, found 0' simulate cell_width.json --out @
row 1 'cell_depth.json: /objects/0/children/0/variables/cellDepth: expected a cell depth above 0, found -1' convert cell_depth.json @/out.xml
row 1 'missing_tile.json: /objects/0/children/0/variables/cells: expected cell values from 0 to 1 (the stage'"'"'s tiles), found 2 at column 1, row 0' simulate missing_tile.json --out @
row 1 'too_many_cells.json: /objects/0/children/0/variables/rows: expected columns x rows of 16777216 cells at most, found 10000000000 cells' simulate too_many_cells.json --out @
row 1 'missing_attribute.json: /objects/0/children/0: expected faces that name attributes of the stage, found tile1 floor: rigid-body attribute 5 names none (the stage has 1)' simulate missing_attribute.json --out @
row 1 'mesh_index.json: /objects/0/children/0/variables/triangles: expected vertex indices below 3 (the count of vertices), found entry 2, 7' simulate mesh_index.json --out @
row 0 'negative_mass.json: /objects/0/children/0/children/0/variables/mass: warning: expected a mass of 0 or more, or infiniteMass, found -2' simulate negative_mass.json --steps 2 --out @
row 1 'negative_mass.json: /objects/0/children/0/children/0/variables/mass: expected a mass of 0 or more, or infiniteMass (--strict refuses what is unusual), found -2' simulate negative_mass.json --strict --out @
row 0 '' simulate negative_infinite_mass.json --strict --steps 2 --out @
row 0 'negative_friction.json: /objects/0/children/0/children/0/variables/frictionCoefficient: warning: expected a friction of 0 or more, found -0.5' read negative_friction.json
row 1 'restitution.json: /objects/0/children/0/children/0/variables/restitutionFactor: expected a restitution from 0 to 1 (--strict refuses what is unusual), found 1.5' simulate restitution.json --strict --out @
row 0 'fast.json: /objects/0/children/0/children/0/variables/linearSpeed: warning: expected a speed below 500 (the camera'"'"'s view, 10 wide, in one step of 0.02), found 1000' simulate fast.json --steps 2 --out @
row 1 'overflowing_speed.json: /objects/0/children/0/children/0/variables/linearSpeed: expected a speed below 500' simulate overflowing_speed.json --strict --out @

# Outputs that cannot be written: nothing half-written is left.
row 1 'out.xml: the file: expected a writable file, found: No such file or directory' convert "$good" @/missing/out.xml
row 1 'folder.json: the file: expected a writable file, found: Is a directory' convert "$good" folder.json
row 1 'a_file/out.xml: the file: expected a writable file, found: Not a directory' convert "$good" a_file/out.xml
row 1 'out.txt: the file name: expected the extension .json or .xml' convert "$good" @/out.txt
row 1 'a_file/out.json: the file: expected a writable file, found: Not a directory' path "$examples/paths/icons.svg" a_file/out.json
row 1 'out.svg: the file: expected a writable file, found: Not a directory' hittest "$ui" 1 1 --svg a_file/out.svg
row 1 'folder.json: the file: expected a writable file, found: Is a directory' hittest "$ui" 1 1 --svg folder.json
row 1 'a_file' simulate "$good" --steps 2 --out a_file

# Paths.
row 1 'many_commands.txt: line 1, column 163841: expected 32768 commands at most, found '"'"'L'"'"'' path many_commands.txt @/out.json
row 0 '' path most_commands.txt @/most_commands.json
row 1 'big_path.txt: line 1, column 1: expected path data of 1048576 bytes at most, found 1200005 bytes' path big_path.txt @/out.json
row 1 'long_attribute.svg: the picture: expected a <path> element with path data, found none' path long_attribute.svg @/out.json
row 1 'no_path.svg: the picture: expected a <path> element with path data, found none' path no_path.svg @/out.json
row 1 "malformed_path.txt: line 1, column 9: expected a number, found 'x'" path malformed_path.txt @/out.json
row 1 'relative_overflow.txt: line 1, column 18: expected a relative point that stays within the range of double' path relative_overflow.txt @/out.json
row 1 'path_bytes.txt: line 1, column 8: expected a number, found byte 0xFF' path path_bytes.txt @/out.json
row 1 'not_a_path.json: /objects/0/type: no class is registered as "Sphere3D{double}"' path not_a_path.json @/out.svg
row 1 'out.png: the file name: expected the extension .svg: a path file becomes an SVG picture' path not_a_path.json @/out.png

# 2D scenes and points.
row 1 'negative_width.json: /objects/0/children/0/variables/rectangle/width: expected a width of 0 or more, found -5' hittest negative_width.json 1 1
row 1 'number_type.json: /objects/0/variables/numberType: expected "float" or "double", found "int"' hittest number_type.json 1 1
row 1 'misplaced_separator.json: /objects/0/children/0: expected elements, separators of a docking layout and one HitTestAttribute as children, found VerticalSeparator 0' hittest misplaced_separator.json 1 1
row 0 'zero_scale.json: /objects/0/children/0/variables/scale: warning: expected a scale other than 0, found x 0, y 1' hittest zero_scale.json 1 1
row 1 'zero_scale.json: /objects/0/children/0/variables/scale: expected a scale other than 0 (--strict refuses what is unusual), found x 0, y 1' hittest zero_scale.json 1 1 --strict
row 1 'huge_width.xml: line 1, column 63: attribute width of <rectangle>: expected a finite number within the range of a double, found "1e999"' hittest huge_width.xml 1 1
row 1 'many.points: line 100001: expected 100000 points at most, found more' hittest "$ui" --points many.points
row 1 'binary.points: line 2: expected X and Y, two finite numbers, found "' hittest "$ui" --points binary.points
row 1 'long_line.points: line 1: expected X and Y, two finite numbers, found "9999999999' hittest "$ui" --points long_line.points
row 1 'empty.points: line 1: expected a point, found none' hittest "$ui" --points empty.points
row 1 'missing.points: the file: expected a readable file, found: No such file or directory' hittest "$ui" --points missing.points
row 0 '' read "$ui"
row 0 '' convert "$ui" @/ui.xml

echo "$cases hostile inputs, the largest peak memory $mostMemory kB"
((cases >= 60)) || fail "only $cases rows"
((failures == 0)) && echo "all hostile inputs passed"
exit $((failures != 0))

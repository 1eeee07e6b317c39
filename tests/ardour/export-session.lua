-- Second process: loads the saved session and exports its first second through the three
-- pedals, then ends. One export and nothing after it: Ardour's export damages its own heap now
-- and then (with no plug-in in the session too), so a later step of the same process may crash.
-- The preset is our own, copied into Ardour's configuration by the caller: plain WAV, no analysis.
-- Arguments: script folder, session folder.
local folder = arg[2]

AudioEngine:set_backend ("None (Dummy)", "", "")
assert (load_session (folder, "pedal"), "cannot load the session")

local export = Session:simple_export ()
export:set_name ("pedal-export")
export:set_folder (folder .. "/export")
export:set_range (0, 48000)
assert (export:set_preset ("39e13872-2c6f-429e-bedf-f1b44171ae0e"), "no export preset for the check")
assert (export:check_outputs (), "nothing to export")
assert (export:run_export (), "export failed")
print ("EXPORTED " .. folder .. "/export")
io.stdout:flush ()
close_session ()

-- First process: a session with one stereo track per format, each with the pedal inserted and
-- its threshold and decay set; exports one second and saves. Prints what it did.
-- Arguments: script folder, session folder.
local here, folder = arg[1], arg[2]
local plugins = dofile (here .. "/plugins.lua")
local common = dofile (here .. "/common.lua")

AudioEngine:set_backend ("None (Dummy)", "", "")
assert (create_session (folder, "pedal", 48000), "cannot create the session")

local settings = { [2] = 0.5, [4] = 0.25 }
local inserts = {}

for _, plugin in ipairs (plugins) do
    local tracks = Session:new_audio_track (2, 2, nil, 1, plugin.track, ARDOUR.PresentationInfo.max_order,
                                            ARDOUR.TrackMode.Normal, true)
    local track = tracks:front ()
    local proc = ARDOUR.LuaAPI.new_plugin (Session, plugin.id, plugin.kind, "")
    assert (not proc:isnil (), "Ardour cannot load the " .. plugin.track .. " build")
    assert (track:add_processor_by_index (proc, 0, nil, true) == 0, "cannot insert " .. plugin.track)

    local insert = proc:to_insert ()
    local pedal = insert:plugin (0)
    print (string.format ("LOADED %s name=%s maker=%s id=%s in=%d out=%d", plugin.track, pedal:name (), pedal:maker (),
                          pedal:unique_id (), insert:input_streams ():n_audio (), insert:output_streams ():n_audio ()))

    for index = 0, 4 do
        print (string.format ("PARAM %s %d %s %s", plugin.track, index, common.label (insert, plugin, index),
                              tostring (common.get (insert, plugin, index))))
    end

    inserts[plugin] = insert
end

-- A snapshot with every pedal at its defaults, to tell a restored state from a fresh one.
Session:save_state ("defaults", false, false, false, false, false)

for plugin, insert in pairs (inserts) do
    for index, value in pairs (settings) do
        common.set (insert, plugin, index, value)
        print (string.format ("SET %s %s %.6f", plugin.track, common.names[index + 1], value))
    end
end

-- Let the engine run a moment so that every plug-in has processed with the new values.
ARDOUR.LuaAPI.usleep (200000)

local export = Session:simple_export ()
export:set_name ("pedal-export")
export:set_folder (folder .. "/export")
export:set_range (0, 48000)
assert (export:set_preset ("75969a1c-3133-4694-864b-a1fa50e43348"), "no WAV export preset")
assert (export:check_outputs (), "nothing to export")
assert (export:run_export (), "export failed")
print ("EXPORTED " .. folder .. "/export")

Session:save_state ("", false, false, false, false, false)
print ("SAVED")
close_session ()

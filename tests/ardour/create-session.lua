-- First process: a session with one stereo track per format, each with the pedal inserted and
-- its threshold and decay set, run for a moment and saved. Prints what it did.
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

-- LV2 values reach the plug-in as messages it reads while it runs: roll the transport until the
-- engine has run a few cycles (at most 20 s), so that the state saved holds them.
Session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
for _ = 1, 2000 do
    if Session:transport_sample () > 4096 then break end
    ARDOUR.LuaAPI.usleep (10000)
end
Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
assert (Session:transport_sample () > 4096, "the engine did not run within 20 s")

Session:save_state ("", false, false, false, false, false)
print ("SAVED")
close_session ()

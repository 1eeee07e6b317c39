-- The three builds of the pedal as Ardour knows them, and how a parameter is reached in each:
-- VST3 and VST2 through their control inputs (parameter index), LV2 through its patch
-- properties (automation controls named after the property URI).
local uri = "https://www.orvane.com/plugins/PelmoraTacetor"

return {
    { track = "VST3", kind = ARDOUR.PluginType.VST3, id = "Pelmora Tacetor" },
    { track = "LV2", kind = ARDOUR.PluginType.LV2, id = uri, property = uri .. ":" },
    { track = "VST2", kind = ARDOUR.PluginType.LXVST, id = "Pelmora Tacetor" },
}

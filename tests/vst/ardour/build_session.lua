-- Builds an Ardour session on the dummy backend: one 4-channel track whose
-- test source feeds Quorvane2, the plug-in's parameters listed, its decoded
-- L and R the only feeds reaching the stereo master.
local dir = assert(os.getenv("QV_SESSION_DIR"), "QV_SESSION_DIR not set")

AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:start(false)
local s = assert(create_session(dir, "qv", 48000), "session not created")

local tr = s:new_audio_track(4, 2, nil, 1, "Ambi", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()

local source = ARDOUR.LuaAPI.new_luaproc(s, "QV Test Source")
assert(not source:isnil(), "test source script not found")
tr:add_processor_by_index(source, 0, nil, true)

local qv = ARDOUR.LuaAPI.new_plugin(s, "Quorvane2", ARDOUR.PluginType.LXVST, "")
assert(not qv:isnil(), "Quorvane2 not found by the plug-in manager")
assert(tr:add_processor_by_index(qv, 1, nil, true) == 0, "Quorvane2 could not be added")

local pi = qv:to_insert()
local plug = pi:plugin(0)
print(string.format("plugin: %s by %s, id %d, %d in, %d out", plug:name(), plug:maker(), plug:unique_id(),
	pi:natural_input_streams():n_audio(), pi:natural_output_streams():n_audio()))
local count = 0
for j = 0, plug:parameter_count() - 1 do
	if plug:parameter_is_input(j) then
		local value = ARDOUR.LuaAPI.get_plugin_insert_param(pi, j, true)
		print(string.format("param %2d %-16s %.6f", j, plug:parameter_label(j), value))
		count = count + 1
	end
end
print("parameters:", count)

-- Speaker feeds leave the track as they are: no panner, and only outputs
-- 1 and 2 (L and R) connected to the master.
tr:panner_shell():set_bypassed(true)
for c = 2, tr:n_outputs():n_audio() - 1 do
	tr:output():audio(c):disconnect_all()
end
print("track outputs:", tr:n_outputs():n_audio())

assert(s:save_state("", false, false, false, false, false) == 0, "session not saved")
close_session()
print("session saved")

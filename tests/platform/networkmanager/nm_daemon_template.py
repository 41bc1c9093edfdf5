'''python3-dbusmock's NetworkManager, changed where it does not behave like
the daemon (NetworkManager's src/core and introspection/*.xml):

- modem devices carry Device.Statistics from the start, and no activation
  resets TxBytes/RxBytes (nm-device.c sets them from the kernel link and
  zeroes them only when the device goes away);
- active connections are numbered from 1 in each daemon, so a restarted
  daemon hands out the same paths again (nm-dbus-object.c);
- GetSettings never returns secrets, GetSecrets needs the modify permission
  an ordinary caller lacks (nm-settings-connection.c);
- an activation of a saved profile that needs a password it does not have
  fails with NO_SECRETS: an agent without the modify permission may not
  supply a system-owned secret, and one with it makes NetworkManager save
  it to disk (nm-agent-manager.c, get_cmp_flags in nm-settings-connection.c);
- AddAndActivateConnection2 adds the profile first; "persist": "volatile"
  keeps it in memory only and deletes it when the activation ends
  (nm-manager.c).
'''

import dbus
import dbusmock
from gi.repository import GLib
from dbusmock import MOCK_IFACE
from dbusmock.templates import networkmanager as base
from dbusmock.templates.networkmanager import *  # noqa: F401,F403 (the template's mock methods)

BUS_NAME = base.BUS_NAME
MAIN_OBJ = base.MAIN_OBJ
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

STATS_IFACE = 'org.freedesktop.NetworkManager.Device.Statistics'
SECRET_KEYS = ('password', 'pin', 'psk', 'secrets')
CREDENTIAL_SETTINGS = ('gsm', 'cdma', 'pppoe', 'adsl')
FLAG_UNSAVED = 0x1
FLAG_VOLATILE = 0x4
NOT_REQUIRED = 0x4
ACTIVATING, ACTIVATED, DEACTIVATED = 1, 2, 4
DEVICE_DISCONNECTED, DEVICE_FAILED = 30, 120
REASON_USER_DISCONNECTED, REASON_DEVICE_DISCONNECTED, REASON_NO_SECRETS = 2, 3, 9


def _manager():
    return dbusmock.get_object(base.MANAGER_OBJ)


def _get_settings(self):
    return {name: {k: v for k, v in values.items() if k not in SECRET_KEYS}
            for name, values in self.settings.items()}


def _get_secrets(self, setting):
    if not getattr(_manager(), 'caller_privileged', False):
        raise dbus.exceptions.DBusException(
            'Insufficient privileges', name='org.freedesktop.NetworkManager.Settings.PermissionDenied')
    values = self.settings.get(setting, {})
    return dbus.Dictionary({setting: dbus.Dictionary(
        {k: v for k, v in values.items() if k in SECRET_KEYS}, signature='sv')}, signature='sa{sv}')


def _credentials(settings):
    for name in CREDENTIAL_SETTINGS:
        if name in settings:
            values = settings[name]
            return (str(values.get('username', '')), str(values.get('password', '')),
                    int(values.get('password-flags', 0)))
    return ('', '', NOT_REQUIRED)


def _end_active(path, reason):
    manager = _manager()
    active = dbusmock.get_object(path)
    props = active.props[base.ACTIVE_CONNECTION_IFACE]
    connection = str(props['Connection'])
    active.Set(base.ACTIVE_CONNECTION_IFACE, 'State', dbus.UInt32(DEACTIVATED))
    active.EmitSignal(base.ACTIVE_CONNECTION_IFACE, 'StateChanged', 'uu',
                      [dbus.UInt32(DEACTIVATED), dbus.UInt32(reason)])
    for device in props['Devices']:
        manager.SetDeviceDisconnected(device)
    actives = manager.Get(base.MANAGER_IFACE, 'ActiveConnections')
    actives.remove(dbus.ObjectPath(path))
    manager.SetProperty(base.MANAGER_OBJ, base.MANAGER_IFACE, 'ActiveConnections', actives)
    manager.object_manager_emit_removed(path)
    manager.RemoveObject(path)
    settings = dbusmock.get_object(connection)
    flags = settings.props[base.CSETTINGS_IFACE].get('Flags', 0)
    if flags & FLAG_VOLATILE:
        settings.ConnectionDelete(settings)


def _fail_for_want_of_secrets(path):
    active = dbusmock.get_object(path)
    for device in active.props[base.ACTIVE_CONNECTION_IFACE]['Devices']:
        dev = dbusmock.get_object(device)
        dev.Set(base.DEVICE_IFACE, 'State', dbus.UInt32(DEVICE_FAILED))
        dev.Set(base.DEVICE_IFACE, 'StateReason', (dbus.UInt32(DEVICE_FAILED), dbus.UInt32(7)))
    _end_active(path, REASON_NO_SECRETS)
    return False


def _activate(manager, connection, device, _specific):
    manager.active_count = getattr(manager, 'active_count', 0) + 1
    name = str(manager.active_count)
    stepwise = getattr(manager, 'stepwise_device', None)
    settings = dbusmock.get_object(connection).settings
    user, password, flags = _credentials(settings)
    lacks_secret = bool(user and not password and not flags & NOT_REQUIRED)
    devices = [] if stepwise or str(device) == '/' else [device]
    path = manager.AddActiveConnection(
        devices, connection, '/', name,
        dbus.UInt32(ACTIVATING if stepwise or lacks_secret else ACTIVATED))
    active = dbusmock.get_object(path)
    active.credentials = (user, password)
    if stepwise:
        active.Set(base.ACTIVE_CONNECTION_IFACE, 'Devices',
                   dbus.Array([dbus.ObjectPath(stepwise)], signature='o'))
    elif lacks_secret:
        GLib.idle_add(_fail_for_want_of_secrets, path)
    return dbus.ObjectPath(path)


def _add_and_activate2(manager, settings, device, specific, options):
    persist = str(options.get('persist', 'disk'))
    settings_obj = dbusmock.get_object(base.SETTINGS_OBJ)
    connection = base.SettingsAddConnection(settings_obj, settings)
    added = dbusmock.get_object(connection)
    added.AddProperty(base.CSETTINGS_IFACE, 'Flags', dbus.UInt32(0))
    if persist != 'disk':
        added.Set(base.CSETTINGS_IFACE, 'Unsaved', True)
        flags = FLAG_UNSAVED | (FLAG_VOLATILE if persist == 'volatile' else 0)
        added.Set(base.CSETTINGS_IFACE, 'Flags', dbus.UInt32(flags))
    manager.add_and_activate_calls = getattr(manager, 'add_and_activate_calls', 0) + 1
    active = _activate(manager, connection, device, specific)
    return (dbus.ObjectPath(connection), active, dbus.Dictionary({}, signature='sv'))


def _deactivate(_manager_obj, path):
    if str(path) not in [str(p) for p in _manager().Get(base.MANAGER_IFACE, 'ActiveConnections')]:
        raise dbus.exceptions.DBusException(
            'Not active', name='org.freedesktop.NetworkManager.ConnectionNotActive')
    _end_active(str(path), REASON_USER_DISCONNECTED)


def load(mock, parameters):
    base.ConnectionGetSettings = _get_settings
    base.ConnectionGetSecrets = _get_secrets
    base.load(mock, parameters)
    manager = _manager()
    # A daemon that has just started is still taking over the links that are
    # up ("Startup" stays true until it has tried them all).
    manager.props[base.MANAGER_IFACE]['Startup'] = bool(parameters.get('Startup', False))
    manager.AddMethods(base.MANAGER_IFACE, [
        ('ActivateConnection', 'ooo', 'o', _activate),
        ('AddAndActivateConnection2', 'a{sa{sv}}ooa{sv}', 'ooa{sv}', _add_and_activate2),
        ('DeactivateConnection', 'o', '', _deactivate),
    ])


@dbus.service.method(MOCK_IFACE, in_signature='ssub', out_signature='s')
def AddModemDevice(self, device_name, ip_iface, state, with_statistics):
    '''A modem (DeviceType 8) on interface ip_iface, complete before it is announced.'''
    path = '/org/freedesktop/NetworkManager/Devices/' + device_name
    self.AddObject(path, base.DEVICE_IFACE, {
        'DeviceType': dbus.UInt32(8),
        'State': dbus.UInt32(state),
        'StateReason': (dbus.UInt32(state), dbus.UInt32(0)),
        'Interface': device_name,
        'IpInterface': ip_iface,
        'ActiveConnection': dbus.ObjectPath('/'),
        'AvailableConnections': dbus.Array([], signature='o'),
        'Managed': True,
        'Driver': 'dbusmock',
    }, [])
    if with_statistics:
        dbusmock.get_object(path).AddProperties(STATS_IFACE, {
            'RefreshRateMs': dbus.UInt32(0),
            'TxBytes': dbus.UInt64(0),
            'RxBytes': dbus.UInt64(0)})
    self.object_manager_emit_added(path)
    manager = _manager()
    devices = manager.Get(base.MANAGER_IFACE, 'Devices')
    devices.append(path)
    manager.Set(base.MANAGER_IFACE, 'Devices', devices)
    manager.EmitSignal(base.MANAGER_IFACE, 'DeviceAdded', 'o', [path])
    return path


@dbus.service.method(MOCK_IFACE, in_signature='', out_signature='')
def FinishStartup(_self):
    '''The daemon has taken over every link it could.'''
    _manager().Set(base.MANAGER_IFACE, 'Startup', False)


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def ActivateStepwise(_self, device):
    '''From now on activations stay activating on device, for the test to step.'''
    _manager().stepwise_device = device


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def EndActivation(_self, active):
    '''The link of an activation ends (the modem hung up).'''
    _end_active(active, REASON_DEVICE_DISCONNECTED)


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='ss')
def ActivationCredentials(_self, active):
    '''The user name and password an activation dials with.'''
    return dbusmock.get_object(active).credentials


@dbus.service.method(MOCK_IFACE, in_signature='sss', out_signature='')
def StoreSecret(_self, connection, setting, password):
    '''A password saved with the profile (system-owned, in its keyfile).'''
    dbusmock.get_object(connection).settings.setdefault(setting, {})['password'] = password


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='s')
def StoredSecret(_self, connection):
    '''The password saved with a profile, empty when none.'''
    return _credentials(dbusmock.get_object(connection).settings)[1]


@dbus.service.method(MOCK_IFACE, in_signature='b', out_signature='')
def SetCallerPrivileged(_self, privileged):
    '''Whether callers hold the modify permission (polkit says yes).'''
    _manager().caller_privileged = bool(privileged)

'''A fake UDisks2 for the card-format tests, loaded by python3-dbusmock on a private bus.

Parameters (JSON): "state" is a folder where every call is logged (calls.log) and where tests put files
that inject failures ("fail-unmount", "fail-format", "fail-mount", "cannot-format", "vanish": the card is gone after
the format); "devices" lists the block devices,
each {"name": "sdb1", "device": "/dev/sdb1", "folder": "/path/standing/in/for/the/card", "system": false}.
Format empties the device's folder, as making a file system does, and keeps the label.
'''

import json
import os
import shutil

import dbus
import dbusmock.mockobject

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2/Manager'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
SYSTEM_BUS = True

BLOCK_IFACE = 'org.freedesktop.UDisks2.Block'
FS_IFACE = 'org.freedesktop.UDisks2.Filesystem'
STATE = {}


def log(line):
    with open(os.path.join(STATE['state'], 'calls.log'), 'a', encoding='utf-8') as f:
        f.write(line + '\n')


def injected(name):
    return os.path.exists(os.path.join(STATE['state'], name))


def fail(message):
    raise dbus.exceptions.DBusException(message, name='org.freedesktop.UDisks2.Error.Failed')


def block_path(name):
    return '/org/freedesktop/UDisks2/block_devices/' + name


def can_format(self, fs_type):
    log('CanFormat ' + fs_type)
    if fs_type in ('vfat', 'exfat') and not injected('cannot-format'):
        return (True, '')
    return (False, 'mkfs.' + fs_type)


def resolve_device(self, devspec, options):
    for dev in STATE['devices']:
        if devspec.get('path') == dev['device']:
            return [dbus.ObjectPath(block_path(dev['name']))]
    return []


def device_of(self):
    return next(d for d in STATE['devices'] if block_path(d['name']) == self.path)


def unmount(self, options):
    log('Unmount ' + self.path)
    if injected('fail-unmount'):
        fail('target is busy')


def format_block(self, fs_type, options):
    dev = device_of(self)
    log('Format %s %s' % (fs_type, json.dumps({k: (bool(v) if isinstance(v, dbus.Boolean) else str(v))
                                                for k, v in sorted(options.items())})))
    if injected('fail-format'):
        fail('mkfs.%s exited with status 1' % fs_type)
    folder = dev['folder']
    if injected('vanish'):
        shutil.rmtree(folder)
        return
    for entry in os.listdir(folder):
        path = os.path.join(folder, entry)
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        else:
            os.remove(path)
    self.Set(BLOCK_IFACE, 'IdLabel', str(options.get('label', '')))
    self.Set(BLOCK_IFACE, 'IdType', fs_type)


def mount(self, options):
    log('Mount ' + self.path)
    if injected('fail-mount') or not os.path.isdir(device_of(self)['folder']):
        fail('cannot mount')
    return device_of(self)['folder']


def load(mock, parameters):
    STATE.update(parameters)
    mock.AddMethods(MAIN_IFACE, [
        ('CanFormat', 's', 'bs', can_format),
        ('ResolveDevice', 'a{sv}a{sv}', 'ao', resolve_device),
    ])
    for dev in STATE['devices']:
        path = block_path(dev['name'])
        mock.AddObject(path, BLOCK_IFACE, {
            'Device': dbus.ByteArray(dev['device'].encode() + b'\0'),
            'HintSystem': dbus.Boolean(dev.get('system', False)),
            'IdLabel': '',
            'IdType': 'vfat',
        }, [('Format', 'sa{sv}', '', format_block)])
        obj = dbusmock.mockobject.objects[path]
        obj.AddMethods(FS_IFACE, [
            ('Unmount', 'a{sv}', '', unmount),
            ('Mount', 'a{sv}', 's', mount),
        ])
        obj.AddProperties(FS_IFACE, {'MountPoints': dbus.Array([], signature='ay')})

"""Logs a line and reads a key back through the JotBook component.

    python3 minimal.py LIBRARY FOLDER      (LIBRARY: the path of libjotwell.so)
"""
import ctypes
import os
import sys
import uuid

if len(sys.argv) != 3:
    sys.exit(__doc__)
library = ctypes.CDLL(sys.argv[1])
folder = os.path.abspath(sys.argv[2])  # relative names would start in the library's folder
os.makedirs(folder, exist_ok=True)


def guid(text):
    return ctypes.create_string_buffer(uuid.UUID(text).bytes_le, 16)


CLSID_JotBook = guid("04229DBD-EDDA-4E43-B75F-66A8ECD82D0C")
IID_IClassFactory = guid("00000001-0000-0000-C000-000000000046")
IID__JotBook = guid("A1024EC0-363B-4765-875C-D95170A8EECA")
# Places in the function tables (JotBookComponent.h): IUnknown's 0 to 2,
# IDispatch's 3 to 6, then _JotBook's members in their order.
RELEASE, CREATE_INSTANCE = 2, 3
PUT_INI_PATH, INI_WRITE_STRING, INI_READ_STRING = 9, 11, 13
WRITE_EVENT, PUT_LOG_FILE_NAME = 15, 23


def call(obj, place, *args):
    """Calls an entry of the object's function table; every argument is pointer-sized."""
    table = ctypes.cast(obj, ctypes.POINTER(ctypes.POINTER(ctypes.c_void_p))).contents
    entry = ctypes.CFUNCTYPE(ctypes.c_int32, *[ctypes.c_void_p] * (1 + len(args)))(table[place])
    result = entry(obj, *args)
    if result < 0:
        sys.exit(f"call failed: {result & 0xFFFFFFFF:#010x}")
    return result


# Strings cross as BSTRs: UTF-16, allocated and freed by the library.
library.SysAllocStringLen.restype = ctypes.c_void_p
library.SysAllocStringLen.argtypes = [ctypes.c_char_p, ctypes.c_uint32]
library.SysStringLen.argtypes = [ctypes.c_void_p]
library.SysFreeString.argtypes = [ctypes.c_void_p]


def bstr(text):
    units = text.encode("utf-16-le")
    return ctypes.c_void_p(library.SysAllocStringLen(units, len(units) // 2))


def text(value):
    return ctypes.string_at(value, 2 * library.SysStringLen(value)).decode("utf-16-le")


factory, book = ctypes.c_void_p(), ctypes.c_void_p()
if library.DllGetClassObject(CLSID_JotBook, IID_IClassFactory, ctypes.byref(factory)) != 0:
    sys.exit("no class object")
call(factory, CREATE_INSTANCE, None, IID__JotBook, ctypes.byref(book))  # the About window opens
call(factory, RELEASE)

log, ini = bstr(os.path.join(folder, "app.log")), bstr(os.path.join(folder, "app.ini"))
event, section, key, value = bstr("Program started"), bstr("Main"), bstr("Greeting"), bstr("hello")
written, read = ctypes.c_int32(), ctypes.c_void_p()
call(book, PUT_LOG_FILE_NAME, log)
call(book, WRITE_EVENT, ctypes.byref(event))
call(book, PUT_INI_PATH, ini)
call(book, INI_WRITE_STRING, ctypes.byref(section), ctypes.byref(key), ctypes.byref(value),
     ctypes.byref(written))
call(book, INI_READ_STRING, ctypes.byref(section), ctypes.byref(key), ctypes.byref(read))
print(text(read))

call(book, RELEASE)
for string in (log, ini, event, section, key, value, read):
    library.SysFreeString(string)

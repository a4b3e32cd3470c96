<html>
<body>
<!--<template />-->
<!-- <template/> -->
</body>
</html>
